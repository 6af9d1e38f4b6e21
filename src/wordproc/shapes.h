#pragma once
// Drawing shapes of the main text (text boxes, pictures, groups) and inline pictures.
#include <string>

#include "wordproc/range.h"

namespace wordproc {

namespace mso {
inline constexpr int kAutoShape = 1;
inline constexpr int kGroup = 6;
inline constexpr int kPicture = 13;
inline constexpr int kTextBox = 17;
}  // namespace mso

class TextFrame {
  public:
    bool hasText();
    Range textRange();

  private:
    friend class Shape;
    TextFrame(Document& d, int story) : m_doc(&d), m_story(story) {}
    Document* m_doc;
    int m_story;  // text box story index, -1 without text
};

class Shape {
  public:
    int type();
    std::string name();
    double width();   // points
    double height();  // points
    TextFrame textFrame();
    void select();
    // The members of a group become shapes of their own (the drawing stays grouped).
    void ungroup();

  private:
    friend class Shapes;
    Shape(Document& d, int index) : m_doc(&d), m_index(index) {}
    Document* m_doc;
    int m_index;
};

class Shapes {
  public:
    explicit Shapes(Document& d) : m_doc(&d) {}
    int count();
    Shape item(int index);  // 1-based

  private:
    Document* m_doc;
};

// The drawing shape that holds the selection (a text box), if any.
class ShapeRange {
  public:
    int count() const { return m_story >= 0 ? 1 : 0; }
    double width();
    double height();
    std::string name();

  private:
    friend class Selection;
    ShapeRange(Document& d, int story) : m_doc(&d), m_story(story) {}
    Document* m_doc;
    int m_story;
};

class InlineShape {
  public:
    InlineShape(Document& d, StoryRef s, int pos) : m_doc(&d), m_story(s), m_pos(pos) {}
    double width();  // points
    double height();
    void setWidth(double points);
    void setHeight(double points);
    // Scales the picture down, keeping its proportions, until it fits the box.
    void scaleDownToFit(double boxWidth, double boxHeight);
    Range range() { return Range(*m_doc, m_story, m_pos, m_pos + 1); }

  private:
    pugi::xml_node extent(pugi::xml_node* paragraph = nullptr);
    void setSize(double w, double h);
    Document* m_doc;
    StoryRef m_story;
    int m_pos;
};

class InlineShapes {
  public:
    InlineShapes(Document& d, Range r) : m_doc(&d), m_range(r) {}
    int count();
    // Inserts a PNG, JPEG, BMP or GIF file as an inline picture that replaces
    // the range; the selection then covers the picture.
    InlineShape addPicture(const std::string& fileName, bool linkToFile = false,
                           bool saveWithDocument = true);

  private:
    Document* m_doc;
    Range m_range;
};

namespace shapes {
struct Info {
    pugi::xml_node node;  // wp:anchor, a group member, or a VML shape
    int type = mso::kAutoShape;
    std::string name;
    double width = 0, height = 0;
    int story = -1;  // text box story
};
std::vector<Info> list(Document& doc);
}  // namespace shapes

}  // namespace wordproc
