// The Payoff Chart: both payoff tables with their symbols, and how the wild, pool and SMILE bonus work.
#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QListView;

namespace kazoomba::ui {

class Graphics;

class PayChartWindow : public QDialog {
    Q_OBJECT
public:
    explicit PayChartWindow(const Graphics& graphics, QWidget* parent = nullptr);

    static const QString& SmileText();
    static const QString& FulminaText();

    // The two tables as the keyboard and a screen reader read them: a list over each painted table, one
    // sentence a row. The regular one has the keyboard when the chart opens.
    QListView& RegularTable() const { return *regular_; }
    QListView& BonusTable() const { return *bonus_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const Graphics& graphics_;
    QListView* regular_ = nullptr;
    QListView* bonus_ = nullptr;
};

// The Help menu's "Payoff Chart": shows the chart modally and discards it when it closes.
void ShowPayChart(const Graphics& graphics, QWidget* parent);

// A caption with "&" marking its access character, as rich text with that character underlined
// ("&&" stands for a plain "&"); runs of blanks are kept as typed.
QString AccessKeyHtml(const QString& caption);

}  // namespace kazoomba::ui
