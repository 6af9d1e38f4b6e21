#pragma once
// The three windows created at start-up beside the main window: the results window
// (TForm2) and the two chart windows (TForm3, TForm4). Each closes when its model asks.
#include <QDialog>

namespace core {
class Dialogs;
struct ResultWindow;
struct EnergyChartWindow;
struct FoodAnalysisChartWindow;
}  // namespace core

namespace ui {

class ResultDialog : public QDialog {
    Q_OBJECT
  public:
    ResultDialog(core::ResultWindow& window, core::Dialogs* dialogs, QWidget* parent = nullptr);
    ~ResultDialog() override;

  private:
    core::ResultWindow& m_window;
    int m_closeId = 0;
};

class EnergyChartDialog : public QDialog {
    Q_OBJECT
  public:
    EnergyChartDialog(core::EnergyChartWindow& window, core::Dialogs* dialogs,
                      QWidget* parent = nullptr);
    ~EnergyChartDialog() override;

  private:
    core::EnergyChartWindow& m_window;
    int m_closeId = 0;
};

class FoodAnalysisChartDialog : public QDialog {
    Q_OBJECT
  public:
    FoodAnalysisChartDialog(core::FoodAnalysisChartWindow& window, core::Dialogs* dialogs,
                            QWidget* parent = nullptr);
    ~FoodAnalysisChartDialog() override;

  private:
    core::FoodAnalysisChartWindow& m_window;
    int m_closeId = 0;
};

}  // namespace ui
