#pragma once
// Edits of the tree behind a story: splitting runs and paragraphs at a
// character, deleting characters, inserting text with the formatting of its
// neighbours, merging paragraphs and keeping the structure valid.
#include <pugixml.hpp>
#include <string>

#include "wordproc/story.h"

namespace wordproc::edit {

// A place between two children of `parent` (`before` empty: at the end).
struct Point {
    pugi::xml_node parent;
    pugi::xml_node before;
};

// Text as it goes into the document: "\r\n" and "\r" end a paragraph, "\n"
// and "\v" break the line, tabs stay, characters XML cannot hold are dropped.
std::u32string normalizeInput(std::string_view utf8);

Point pointBeforeAtom(const Atom& atom);
// Splits the elements between the point and `ancestor` so that the point lies
// between two children of `ancestor`.
Point splitUpTo(Point pt, pugi::xml_node ancestor);
void removeBetween(Point a, Point b);

// Deletes characters [k1, k2) of a paragraph (k2 may be the count of its
// characters, never beyond); returns the place at paragraph level where they were.
Point deleteChars(Entry& e, int k1, int k2);

// The run properties that text inserted before character k of a paragraph
// takes: those of the character before, else of the character after, else of
// the paragraph mark. Copied into `holder`.
pugi::xml_node formattingAt(const Entry& e, int k, pugi::xml_document& holder);
pugi::xml_node formattingOfRun(pugi::xml_node run, pugi::xml_document& holder);

// Where text inserted before character k goes, at the level of runs.
Point insertionPoint(const Entry& e, int k);
// Inserts a run with a copy of `rPr` (may be empty) and the text (no paragraph
// marks); returns the run, or an empty node when the text is empty.
pugi::xml_node insertRun(Point pt, pugi::xml_node rPr, std::u32string_view text);
void setRunText(pugi::xml_node run, std::u32string_view text);

// Splits a paragraph at a point of paragraph level; returns the new second half.
pugi::xml_node splitParagraph(pugi::xml_node p, Point pt);
// Appends p2's content to p1 and removes p2.
void mergeParagraphs(pugi::xml_node p1, pugi::xml_node p2);
bool hasContent(pugi::xml_node p);
pugi::xml_node newParagraphAfter(pugi::xml_node block);

// Deletes [s, e) of a story across paragraphs and tables: fully covered
// paragraphs, rows and tables go, partly covered cells lose their text, cell
// marks and the story's last mark stay.
void deleteRange(Story& story, int s, int e);

// Restores the invariants: every cell, text box and body holds a paragraph and
// does not end with a table, no row is without cells, no table without rows.
void normalize(pugi::xml_node storyRoot);

// Removes the identifiers that must stay unique from a copied subtree
// (paragraph ids, content-control ids, bookmarks).
void freshenCopy(pugi::xml_node copy);

}  // namespace wordproc::edit
