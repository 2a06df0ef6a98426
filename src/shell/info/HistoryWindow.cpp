// The Game History window.
#include "info/HistoryWindow.h"

#include <QAbstractListModel>
#include <QAccessible>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QPainter>
#include <QStandardPaths>
#include <QStyledItemDelegate>
#include <QTextEdit>

#include "HistoryCsv.h"
#include "QtText.h"
#include "access/Accessible.h"
#include "access/FocusRing.h"
#include "access/ReadingPane.h"
#include "art/Drawing.h"
#include "art/Graphics.h"
#include "art/Palette.h"
#include "art/UnderlinedButton.h"
#include "dialogs/Modal.h"
#include "dialogs/Placement.h"
#include "info/HistoryLayout.h"
#include "machine/ReelPanel.h"
#include "play/HistoryText.h"

namespace kazoomba::ui {

namespace HL = history_layout;

namespace {

constexpr int kColumnsRole = Qt::UserRole;

QString Text(const std::string& text) { return QString::fromStdString(text); }

QDateTime LocalTime(std::int64_t seconds) { return QDateTime::fromSecsSinceEpoch(seconds); }

// The rows of the list, newest first. A listener hears each row as one sentence.
class HistoryRows : public QAbstractListModel {
public:
    explicit HistoryRows(const HistoryWindow& window, QObject* parent) : QAbstractListModel(parent), window_(window) {}
    int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : window_.Rows(); }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || index.row() >= window_.Rows()) return {};
        const HistoryEntry& entry = window_.EntryAt(index.row());
        if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole) return Text(EntrySentence(entry));
        if (role == kColumnsRole) {
            const auto texts = HistoryWindow::ColumnTexts(entry);
            return QStringList(texts.begin(), texts.end());
        }
        return {};
    }

private:
    const HistoryWindow& window_;
};

// Draws a row as its columns; a game's mark spans the money columns.
class RowPainter : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyleOptionViewItem o = option;
        initStyleOption(&o, index);
        o.text.clear();
        const QWidget* view = option.widget;
        view->style()->drawPrimitive(QStyle::PE_PanelItemViewItem, &o, p, view);
        const bool chosen = option.state & QStyle::State_Selected;
        p->save();
        p->setFont(option.font);
        p->setPen(option.palette.color(chosen ? QPalette::HighlightedText : QPalette::Text));
        const QStringList texts = index.data(kColumnsRole).toStringList();
        for (int c = 0; c < HL::kColumnCount && c < texts.size(); ++c) {
            const HL::Column& column = HL::kColumns[c];
            // A mark says what it marks from the bet's column on, across the money.
            const bool across = c == HL::BetColumn && texts[HL::WinColumn].isEmpty() && texts[HL::CreditsColumn].isEmpty();
            const int width = across ? HL::kColumns[HL::CreditsColumn].x + HL::kColumns[HL::CreditsColumn].w - column.x : column.w;
            const QRect box(option.rect.left() + column.x, option.rect.top(), width, option.rect.height());
            const Qt::Alignment align = (column.right && !across ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
            p->drawText(box, align, option.fontMetrics.elidedText(texts[c], Qt::ElideRight, width));
        }
        p->restore();
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return {QStyledItemDelegate::sizeHint(option, index).width(), HL::kRowH};
    }
};

}  // namespace

HistoryWindow::HistoryWindow(const GameHistory& history, const Graphics& graphics, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      graphics_(graphics),
      entries_(history.Entries().begin(), history.Entries().end()) {
    setWindowTitle(QStringLiteral("Game History"));
    setFixedSize(HL::kClientWidth, HL::kClientHeight);
    SetLightFace(*this, PaletteColor(Colour::Silver));
    reels_ = graphics_.NewImage(HL::kPanelW, HL::kPanelH, PaletteColor(Colour::Silver));

    const QFont listFont = GameFont(HL::kListPoints, false);
    for (const HL::Column& column : HL::kColumns) {
        auto* caption = new QLabel(QString::fromLatin1(column.caption), this);
        // Over the list's frame, aligned as the column's figures are.
        caption->setGeometry(HL::kListX + 1 + column.x, HL::kCaptionY, column.w, HL::kCaptionH);
        caption->setFont(GameFont(HL::kListPoints, true));
        caption->setAlignment((column.right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignBottom);
    }

    list_ = new QListView(this);
    list_->setObjectName(QStringLiteral("Spins"));
    list_->setGeometry(HL::kListX, HL::kListY, HL::kListW, HL::kListH);
    list_->setFont(listFont);
    list_->setUniformItemSizes(true);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list_->setModel(new HistoryRows(*this, list_));
    list_->setItemDelegate(new RowPainter(list_));
    const int spins = history.Spins();
    list_->setAccessibleName(spins == 0 ? QStringLiteral("No spins yet")
                                        : QStringLiteral("%1 %2, newest first")
                                              .arg(Text(CountText(spins)), spins == 1 ? QStringLiteral("spin")
                                                                                      : QStringLiteral("spins")));
    connect(list_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& now) { Choose(now.row()); });
    TellCurrentRowOnFocus(*list_);

    words_ = new QTextEdit(this);
    words_->setObjectName(QStringLiteral("Words"));
    words_->setGeometry(HL::kWordsX, HL::kWordsY, HL::kWordsW, HL::kWordsH);
    words_->setReadOnly(true);
    words_->setTabChangesFocus(true);
    words_->setFont(listFont);
    words_->setAccessibleName(QStringLiteral("The spin in words"));
    MakeReadable(*words_);

    save_ = new UnderlinedButton(QStringLiteral("&Save as CSV\u2026"), this);
    save_->setGeometry(HL::kSaveX, HL::kButtonY, HL::kButtonW, HL::kButtonH);
    QPushButton* close = new UnderlinedButton(QStringLiteral("&Close"), this);
    close->setGeometry(HL::kCloseX, HL::kButtonY, HL::kButtonW, HL::kButtonH);
    for (QPushButton* b : {save_, close}) b->setFont(GameFont(9.75));
    connect(save_, &QPushButton::clicked, this, &HistoryWindow::SaveAsCsv);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("Status"));
    status_->setGeometry(HL::kSaveX, HL::kStatusY, HL::kPanelW, HL::kStatusH);
    status_->setFont(GameFont(8.25, false));
    status_->setWordWrap(true);
    status_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    setTabOrder(list_, words_);
    setTabOrder(words_, save_);
    setTabOrder(save_, close);
    list_->setFocus();
    if (!entries_.empty()) list_->setCurrentIndex(list_->model()->index(0, 0));
    else Choose(-1);

    ShowFocusRings(*this);
    CentreOnScreen(*this, parent);
}

const HistoryEntry& HistoryWindow::EntryAt(int row) const { return entries_[entries_.size() - 1 - static_cast<std::size_t>(row)]; }

int HistoryWindow::ChosenRow() const { return entries_.empty() ? -1 : list_->currentIndex().row(); }

QString HistoryWindow::WordsText() const { return words_->toPlainText(); }

QString HistoryWindow::StatusText() const { return status_->text(); }

std::array<QString, 5> HistoryWindow::ColumnTexts(const HistoryEntry& entry) {
    std::array<QString, 5> t;
    t[HL::TimeColumn] = LocalTime(entry.time).toString(QStringLiteral("yyyy-MM-dd hh:mm"));
    if (entry.kind == HistoryEntry::Kind::NewGame) {
        t[HL::BetColumn] = QStringLiteral("New game");
    } else if (entry.kind == HistoryEntry::Kind::LoadedGame) {
        t[HL::BetColumn] = QStringLiteral("Loaded: ") + Text(entry.name);
    } else {
        const SpinRecord& r = entry.spin;
        t[HL::SpinColumn] = Text(CountText(r.spin));
        t[HL::BetColumn] = r.bonusSpin > 0 ? QStringLiteral("free") : Text(MoneyText(r.Bet()));
        t[HL::WinColumn] = Text(MoneyText(r.paid));
        t[HL::CreditsColumn] = Text(MoneyText(r.credits));
    }
    return t;
}

QString HistoryWindow::EntryWords(const HistoryEntry& entry) {
    const QDateTime when = LocalTime(entry.time);
    const QString at = QStringLiteral("on %1 at %2")
                           .arg(when.toString(QStringLiteral("yyyy-MM-dd")), when.toString(QStringLiteral("hh:mm:ss")));
    if (entry.kind == HistoryEntry::Kind::NewGame) return QStringLiteral("A new game began here, %1.").arg(at);
    if (entry.kind == HistoryEntry::Kind::LoadedGame)
        return QStringLiteral("The game \u201C%1\u201D was loaded here, %2.").arg(Text(entry.name), at);
    QStringList lines = {QStringLiteral("Played %1.").arg(at)};
    for (const std::string& line : SpinDetails(entry.spin)) lines << Text(line);
    return lines.join(u'\n');
}

void HistoryWindow::Choose(int row) {
    const HistoryEntry* entry = row >= 0 && row < Rows() ? &EntryAt(row) : nullptr;
    words_->setPlainText(entry ? EntryWords(*entry)
                               : QStringLiteral("No spins yet: the history begins with your next spin."));
    DrawReels(entry);
    update(HL::kReelsX, HL::kReelsY, HL::kPanelW, HL::kPanelH);
}

const std::array<QImage, kStrips>& HistoryWindow::Strips(bool bonusSet) {
    std::array<QImage, kStrips>& strips = strips_[bonusSet ? 1 : 0];
    if (strips[0].isNull()) {
        const StripSet& set = bonusSet ? BonusStrips() : RegularStrips();
        for (int i = 0; i < kStrips; ++i) strips[i] = graphics_.StripPicture(set[i]);
    }
    return strips;
}

void HistoryWindow::DrawReels(const HistoryEntry* entry) {
    reels_.fill(PaletteColor(Colour::Silver));
    QPainter p(&reels_);
    // The machine's own drawing, moved so that its reel panel lands in this picture.
    p.translate(-HL::kPanelLeft, -HL::kPanelTop);
    DrawReelPanel(p, true);
    if (!entry || !entry->IsSpin()) return;
    DrawRestingWheels(p, Strips(entry->spin.bonusSet), entry->spin.stops);
    DrawWinningLines(p, entry->spin.linePay);
}

void HistoryWindow::keyPressEvent(QKeyEvent* event) {
    // A button with the keyboard takes its Enter itself; one that reaches the window came from the list or
    // the words, where it must not press the button the window would make the default.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void HistoryWindow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(QPoint(HL::kReelsX, HL::kReelsY), reels_);
}

void HistoryWindow::SaveAsCsv() {
    auto* ask = new QFileDialog(this, QStringLiteral("Save the Game History as CSV"));
    ask->setAcceptMode(QFileDialog::AcceptSave);
    ask->setNameFilter(QStringLiteral("CSV files (*.csv)"));
    ask->setDefaultSuffix(QStringLiteral("csv"));
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    ask->setDirectory(QDir(folder).exists() ? folder : QDir::homePath());
    ask->selectFile(QStringLiteral("kazoomba-history.csv"));
    OpenModal<QFileDialog>(ask, [this](QFileDialog& asked, int answer) {
        if (answer == QDialog::Accepted && !asked.selectedFiles().isEmpty()) SaveCsvTo(asked.selectedFiles().front());
    });
}

bool HistoryWindow::SaveCsvTo(const QString& path) {
    QString why;
    const bool saved = WriteHistoryCsv(path, entries_, &why);
    status_->setText(saved ? QStringLiteral("Saved as %1").arg(QDir::toNativeSeparators(path))
                           : QStringLiteral("Not saved: %1").arg(why));
    status_->setAccessibleName(status_->text());
    if (!saved)
        ShowMessageBox(QMessageBox::Warning, QStringLiteral("History Not Saved"),
                       QStringLiteral("The game history could not be saved to\n%1").arg(why), this);
    return saved;
}

void ShowGameHistory(const GameHistory& history, const Graphics& graphics, QWidget* parent) {
    OpenModal(new HistoryWindow(history, graphics, parent));
}

}  // namespace kazoomba::ui
