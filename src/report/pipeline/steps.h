#pragma once
// The steps of Process, one file each. Every step works on the run's document through the
// selection, as the word processor is driven.
#include <string>

#include "report/pipeline/run.h"

namespace report::pipeline {

// Preparation.
void extractDataPool(Run& run);
void ungroupFirstGroup(Run& run);
void prepareFormFields(Run& run);
void prepareTables(Run& run);

// rs10: custom values into the document and the data pool text.
void fillCustomValues(Run& run);

// Field tags of one data set (prefix Prefix + NAME + ".") with sums and counts.
void fillFieldTags(Run& run, dbf::DataSet* ds, const std::string& name);
// The same tags in a text (the data pool), by the plain text rendering.
std::string fieldTagsInText(Run& run, dbf::DataSet* ds, const std::string& name, std::string text);
void computeAggregates(Run& run, dbf::DataSet* ds);
// SUM(...) and COUNT(...) tags of the data set in the selection's story.
void fillAggregationTags(Run& run, const dbf::DataSet& ds, const std::string& fieldPrefix);

// Multiplying constructs.
std::string expandRepfor(Run& run, dbf::DataSet* ds, const std::string& name, std::string text);
void fillRepeatBlocks(Run& run, dbf::DataSet* ds, const std::string& name);
void fillTemplateTables(Run& run, dbf::DataSet* ds, const std::string& name);
void fillGeneratedTables(Run& run, dbf::DataSet* ds, const std::string& name);
void fillTextTables(Run& run, dbf::DataSet* ds, const std::string& name);

// rs40..rs70.
void runDataPool(Run& run);
void fillConditions(Run& run);
void fillNumerators(Run& run);
void fillOpenTags(Run& run);

// Fields, tables of contents, position, undo list and saved flag.
void finishDocument(Run& run);

}  // namespace report::pipeline
