#pragma once
// The open sequence: binds the nine tables and both queries to the table directory and
// fills the start-up views. Run after every table and query was closed.
namespace core {

class MainForm;

// Raises the engine's error when a table cannot be opened; the tables opened before it
// stay open and no view is filled.
void OpenDBF(MainForm& form);

// The trimmed AN5 names of the nutrient catalogue into the name columns of StringGrid1,
// StringGrid3 and StringGrid4, in table order.
void fillNutrientNames(MainForm& form);

}  // namespace core
