// The Payoff Chart window.
#include "dialogs/Placement.h"
#include "info/PayChartWindow.h"

#include <QGuiApplication>
#include <QLabel>
#include <QListView>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStandardItemModel>
#include <QStyledItemDelegate>

#include "common/NumberPicture.h"
#include "dialogs/Modal.h"
#include "engine/Payoffs.h"
#include "info/PayChartLayout.h"
#include "art/Drawing.h"
#include "art/Graphics.h"
#include "art/Label.h"
#include "art/Palette.h"
#include "access/Accessible.h"
#include "access/FocusRing.h"
#include "access/SpokenText.h"

namespace kazoomba::ui {

namespace CL = pay_chart_layout;

QString AccessKeyHtml(const QString& caption) {
    QString html = QStringLiteral("<div style=\"white-space:pre-wrap\">");
    for (qsizetype i = 0; i < caption.size(); ++i) {
        QString ch = caption[i];
        bool underline = false;
        if (caption[i] == QLatin1Char('&') && i + 1 < caption.size()) {
            ++i;
            ch = caption[i];
            underline = caption[i] != QLatin1Char('&');
        }
        ch = ch.toHtmlEscaped();
        html += underline ? QStringLiteral("<u>") + ch + QStringLiteral("</u>") : ch;
    }
    return html + QStringLiteral("</div>");
}

const QString& PayChartWindow::SmileText() {
    static const QString text = QStringLiteral(
        "A line of SMILES removes one SMILE symbol from the upper left corner of the screen.  Remove all six to win "
        "&3 bonus spins.");
    return text;
}

const QString& PayChartWindow::FulminaText() {
    static const QString text = QStringLiteral(
        "The FULMINA symbol is wild and will be used to form the best possible winning line (if a winning line is "
        "possible).  FULMINA also adds to the BONUS POOL.  The POOL will increase by &3 times the current coin value "
        "for each FULMINA on the screen, however, there must be at least one coin bet on all eight lines.  All "
        "payoffs are based on coins bet on the winning line (not total coins in).");
    return text;
}

namespace {

QLabel* TextLabel(QWidget* parent, const QString& caption, const CL::Rect& r, double points) {
    QLabel* label = ColouredLabel(parent, QRect(r.x, r.y, r.w, r.h), GameFont(points, false), Colour::White);
    label->setWordWrap(true);
    label->setTextFormat(Qt::RichText);
    label->setText(AccessKeyHtml(caption));
    return label;
}

// Paints nothing of a row, the chart under it shows through; while the table has the keyboard, a white
// mark under the row it is on.
class RowMark : public QStyledItemDelegate {
public:
    RowMark(int rowHeight, QObject* parent) : QStyledItemDelegate(parent), rowHeight_(rowHeight) {}
    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const auto* view = qobject_cast<const QAbstractItemView*>(option.widget);
        if (!view || !view->hasFocus() || view->currentIndex() != index) return;
        const QRect row = option.rect;
        p->fillRect(QRect(row.left() + 4, row.bottom() + 1 - CL::kRowMarkHeight, row.width() - 8, CL::kRowMarkHeight),
                    PaletteColor(Colour::White));
    }
    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override { return {0, rowHeight_}; }

private:
    int rowHeight_;
};

// A list laid over a painted table: it shows nothing but the mark, takes no mouse, and reads each row.
QListView* TableReader(QWidget* parent, const QString& name, const CL::Rect& r, int rowHeight, const QStringList& rows) {
    auto* model = new QStandardItemModel(parent);
    for (const QString& row : rows) {
        auto* item = new QStandardItem(row);
        item->setEditable(false);
        model->appendRow(item);
    }
    auto* view = new QListView(parent);
    view->setObjectName(name);
    view->setAccessibleName(name);
    view->setAccessibleDescription(QStringLiteral("What a winning line pays for each coin bet on it"));
    view->setGeometry(r.x, r.y, r.w, r.h);
    view->setFrameShape(QFrame::NoFrame);
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setUniformItemSizes(true);
    view->setAttribute(Qt::WA_TransparentForMouseEvents);
    view->setFocusPolicy(Qt::TabFocus);
    QPalette pal = view->palette();
    pal.setColor(QPalette::Base, Qt::transparent);
    view->setPalette(pal);
    view->setAutoFillBackground(false);
    view->viewport()->setAutoFillBackground(false);
    view->setItemDelegate(new RowMark(rowHeight, view));
    view->setModel(model);
    view->setCurrentIndex(model->index(0, 0));
    TellCurrentRowOnFocus(*view);
    return view;
}

}  // namespace

PayChartWindow::PayChartWindow(const Graphics& graphics, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      graphics_(graphics) {
    setWindowTitle(QStringLiteral("Payoff Chart"));
    setFixedSize(CL::kClientWidth, CL::kClientHeight);
    SetBackground(*this, PaletteColor(Colour::Black));

    TextLabel(this, SmileText(), CL::kSmileLabel, 9.75)->setObjectName(QStringLiteral("SmileText"));
    TextLabel(this, FulminaText(), CL::kFulminaLabel, 8.25)->setObjectName(QStringLiteral("FulminaText"));

    // The tables in words, from the tables the scoring pays by, before Close in the Tab order.
    QStringList regularRows, bonusRows;
    for (int i = 0; i < static_cast<int>(RegularPayoffs.size()); ++i)
        regularRows << PayRowInWords(static_cast<Symbol>(i), RegularPayoffs[i]);
    for (int i = 0; i < static_cast<int>(BonusPayoffs.size()); ++i)
        bonusRows << PayRowInWords(kBonusChartSymbols[i], BonusPayoffs[i]);
    regular_ = TableReader(this, QStringLiteral("Regular Payoffs"), CL::kRegularTable, CL::kRegularPitch, regularRows);
    bonus_ = TableReader(this, QStringLiteral("Bonus Payoffs"), CL::kBonusTable, CL::kBonusPitch, bonusRows);

    // Escape reaches QDialog::reject(), which closes the chart as this button does.
    auto* close = new QPushButton(QStringLiteral("&Close"), this);
    close->setGeometry(CL::kCloseButton.x, CL::kCloseButton.y, CL::kCloseButton.w, CL::kCloseButton.h);
    close->setFont(GameFont(9.75, false));
    close->setPalette(QGuiApplication::palette());
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    // The chart is its tables: a listener hears the first row as the chart opens, and Enter still closes.
    regular_->setFocus();

    ShowFocusRings(*this);
    CentreOnScreen(*this, parent);
}

void PayChartWindow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    FillBox(p, 0, 0, width(), height(), Colour::Black);
    const QImage& sheet = graphics_.SymbolSheetSmall();
    auto picture = [&](int x, int y, int code) {
        Blit(p, x, y, sheet, CL::kPictureSize * (code % 4), CL::kPictureSize * (code / 4), CL::kPictureSize,
             CL::kPictureSize);
    };
    auto figure = [&](int right, int top, int payoff) {
        const QString text = QString::fromStdString(FormatPicture(payoff, "###0"));
        EmbossText(p, right - p.fontMetrics().horizontalAdvance(text), top, Colour::Black, Colour::Black, Colour::Yellow, text);
    };

    p.setFont(GameFont(14));
    EmbossText(p, CL::kRegularTitleX, 0, Colour::Black, Colour::Black, Colour::White, QStringLiteral("Regular Payoffs"));
    EmbossText(p, CL::kBonusTitleX, 0, Colour::Black, Colour::Black, Colour::White, QStringLiteral("Bonus Payoffs"));
    for (int i = 0; i < static_cast<int>(RegularPayoffs.size()); ++i) {
        const int y = CL::kRegularTop + CL::kRegularPitch * i;
        for (int j = 0; j < 3; ++j) picture(CL::kRegularPictureX + CL::kPicturePitch * j, y, i);
        EmbossText(p, CL::kRegularTimesX, y, Colour::White, Colour::Grey, Colour::Silver, QStringLiteral("x"));
    }

    p.setFont(GameFont(18));
    for (int i = 0; i < static_cast<int>(RegularPayoffs.size()); ++i)
        figure(CL::kRegularFigureRight, CL::kRegularFigureTop + CL::kRegularPitch * i, RegularPayoffs[i]);
    for (int i = 0; i < static_cast<int>(BonusPayoffs.size()); ++i) {
        const int y = CL::kBonusTop + CL::kBonusPitch * i;
        for (int j = 0; j < 3; ++j) picture(CL::kBonusPictureX + CL::kPicturePitch * j, y, kBonusChartSymbols[i]);
        EmbossText(p, CL::kBonusTimesX, CL::kBonusTimesTop + CL::kBonusPitch * i, Colour::White, Colour::Grey, Colour::Silver, QStringLiteral("x"));
    }
    for (int i = 0; i < static_cast<int>(BonusPayoffs.size()); ++i)
        figure(CL::kBonusFigureRight, CL::kBonusFigureTop + CL::kBonusPitch * i, BonusPayoffs[i]);
}

void ShowPayChart(const Graphics& graphics, QWidget* parent) {
    OpenModal(new PayChartWindow(graphics, parent));
}

}  // namespace kazoomba::ui
