// Reading, appending and setting aside the game history's file.
#include "HistoryFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QStandardPaths>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <fcntl.h>
#include <limits>
#include <unistd.h>

#include "ProfileFile.h"
#include "StoredNumber.h"
#include "play/PendingMoment.h"

namespace kazoomba {

namespace {

constexpr std::array<const char*, 3> kChoiceNames = {"none", "take", "double"};
// A file beyond this is not ours: a history of a thousand spins is a few hundred kilobytes.
constexpr qint64 kMaxHistoryBytes = 16 * 1024 * 1024;

QByteArray Money(float value) { return QByteArray::number(static_cast<double>(value), 'f', 2); }

template <typename T, std::size_t N>
QByteArray List(const std::array<T, N>& values) {
    QByteArray out;
    for (std::size_t i = 0; i < N; ++i) {
        if (i > 0) out += ',';
        out += QByteArray::number(static_cast<int>(values[i]));
    }
    return out;
}

std::optional<long long> Whole(const QByteArray& text, long long low, long long high) {
    bool ok = false;
    const long long v = text.toLongLong(&ok);
    if (!ok || v < low || v > high || text.startsWith('+') || text.startsWith(' ')) return std::nullopt;
    return v;
}

template <std::size_t N>
std::optional<std::array<std::int16_t, N>> WholeList(const QByteArray& text, int low, int high) {
    const QList<QByteArray> parts = text.split(',');
    if (parts.size() != static_cast<qsizetype>(N)) return std::nullopt;
    std::array<std::int16_t, N> out{};
    for (std::size_t i = 0; i < N; ++i) {
        const auto v = Whole(parts[static_cast<qsizetype>(i)], low, high);
        if (!v) return std::nullopt;
        out[i] = static_cast<std::int16_t>(*v);
    }
    return out;
}

// Dollars as the file writes them: a plain decimal number, not below zero, that a float holds.
std::optional<float> ReadMoney(const QByteArray& text) {
    const std::optional<double> v = NumberAsWritten(QString::fromLatin1(text));
    if (!v || *v < 0 || !std::isfinite(*v) || *v > std::numeric_limits<float>::max()) return std::nullopt;
    return static_cast<float>(*v);
}

// Amounts are written to the cent: a figure read back is within half a cent of the game's own, with room
// for the float arithmetic of very large sums.
bool SameMoney(float read, float computed) {
    return std::fabs(static_cast<double>(read) - static_cast<double>(computed)) <=
           0.005 + 1e-6 * std::fabs(static_cast<double>(computed));
}

std::optional<std::vector<OpenedBox>> ReadBoxes(const QByteArray& text) {
    std::vector<OpenedBox> boxes;
    if (text == "-") return boxes;
    std::array<bool, kBoxes> boxSeen{}, contentSeen{};
    for (const QByteArray& pair : text.split(',')) {
        const QList<QByteArray> parts = pair.split(':');
        if (parts.size() != 2) return std::nullopt;
        const auto box = Whole(parts[0], 1, kBoxes);
        const auto content = Whole(parts[1], 0, kBoxes - 1);
        if (!box || !content || boxSeen[*box - 1] || contentSeen[*content]) return std::nullopt;
        boxSeen[*box - 1] = contentSeen[*content] = true;
        boxes.push_back({static_cast<std::int16_t>(*box), static_cast<std::int16_t>(*content)});
    }
    // The board is dead once a losing box is open: nothing opens after it.
    for (std::size_t i = 0; i + 1 < boxes.size(); ++i)
        if (KindOf(boxes[i].content) == BoxKind::Losing) return std::nullopt;
    return boxes;
}

std::optional<SpinRecord> ReadSpin(const QList<QByteArray>& f) {
    if (f.size() != 17) return std::nullopt;
    SpinRecord r;
    const auto number = Whole(f[2], 1, std::numeric_limits<std::int32_t>::max());
    const auto bonusSpin = Whole(f[3], 0, 3);
    const auto coinValue = ReadMoney(f[4]);
    const auto coins = Whole(f[5], 1, kMaxCoins);
    const auto stops = WholeList<kCells>(f[6], 0, kStops - 1);
    const auto bonusSet = Whole(f[7], 0, 1);
    const auto pays = WholeList<kLines>(f[8], 0, std::numeric_limits<std::int16_t>::max());
    const auto grown = ReadMoney(f[9]);
    const auto poolWon = ReadMoney(f[10]);
    const auto award = Whole(f[11], 0, 1);
    const auto boxes = ReadBoxes(f[13]);
    const auto win = ReadMoney(f[14]);
    const auto paid = ReadMoney(f[15]);
    const auto credits = ReadMoney(f[16]);
    if (!number || !bonusSpin || !coinValue || !coins || !stops || !bonusSet || !pays || !grown || !poolWon ||
        !award || !boxes || !win || !paid || !credits)
        return std::nullopt;
    r.spin = static_cast<std::int32_t>(*number);
    r.bonusSpin = static_cast<std::int16_t>(*bonusSpin);
    r.bonusSet = *bonusSet == 1;
    // A free spin is played on the bonus strips, and only a free spin is.
    if ((r.bonusSpin > 0) != r.bonusSet) return std::nullopt;
    if (std::none_of(kCoinChoices.begin(), kCoinChoices.end(), [&](const CoinChoice& c) { return c.value == *coinValue; }))
        return std::nullopt;
    r.coinValue = *coinValue;
    r.coins = static_cast<std::int16_t>(*coins);
    r.stops = *stops;
    r.linePay = *pays;
    // The lines must be what the reels pay, and the win what the lines and the pool make.
    const StopsPay pay = PayOfStops(r.stops, r.bonusSet, r.coinValue, r.Bet());
    if (pay.linePay != r.linePay) return std::nullopt;
    r.poolGrown = *grown;
    r.poolWon = *poolWon;
    if (r.bonusSet && r.poolWon > 0.0f) return std::nullopt;
    r.smileAward = *award == 1;
    r.win = *win;
    if (!SameMoney(r.win, pay.lineWin + r.poolWon)) return std::nullopt;
    int choice = 0;
    while (choice < static_cast<int>(kChoiceNames.size()) && f[12] != kChoiceNames[choice]) ++choice;
    if (choice == static_cast<int>(kChoiceNames.size())) return std::nullopt;
    r.choice = static_cast<PayoffsChoice>(choice);
    if ((r.choice == PayoffsChoice::None) != !(r.win > 0.0f)) return std::nullopt;
    if (r.choice != PayoffsChoice::Double && !boxes->empty()) return std::nullopt;
    r.boxes = *boxes;
    r.paid = *paid;
    r.credits = *credits;
    return r;
}

}  // namespace

QString HistoryFilePath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/kazoomba/game-history.txt");
}

QByteArray HistoryLine(const HistoryEntry& e) {
    const QByteArray time = QByteArray::number(static_cast<qlonglong>(e.time));
    if (e.kind == HistoryEntry::Kind::NewGame) return "new " + time;
    if (e.kind == HistoryEntry::Kind::LoadedGame) {
        QByteArray name = QByteArray::fromStdString(e.name);
        name.replace('\n', ' ').replace('\r', ' ');
        return "load " + time + ' ' + name;
    }
    const SpinRecord& r = e.spin;
    QByteArray boxes;
    for (const OpenedBox& b : r.boxes) {
        if (!boxes.isEmpty()) boxes += ',';
        boxes += QByteArray::number(b.box) + ':' + QByteArray::number(b.content);
    }
    if (boxes.isEmpty()) boxes = "-";
    const QList<QByteArray> fields = {
        "spin", time, QByteArray::number(r.spin), QByteArray::number(r.bonusSpin), Money(r.coinValue),
        QByteArray::number(r.coins), List(r.stops), r.bonusSet ? "1" : "0", List(r.linePay), Money(r.poolGrown),
        Money(r.poolWon), r.smileAward ? "1" : "0", kChoiceNames[static_cast<int>(r.choice)], boxes, Money(r.win),
        Money(r.paid), Money(r.credits)};
    return fields.join(' ');
}

std::optional<HistoryEntry> ReadHistoryLine(const QByteArray& line) {
    HistoryEntry e;
    if (line.startsWith("load ")) {
        const qsizetype nameAt = line.indexOf(' ', 5);
        const auto time = Whole(line.mid(5, nameAt < 0 ? -1 : nameAt - 5), std::numeric_limits<qint64>::min(),
                                std::numeric_limits<qint64>::max());
        if (!time) return std::nullopt;
        e.kind = HistoryEntry::Kind::LoadedGame;
        e.time = *time;
        e.name = nameAt < 0 ? std::string() : line.mid(nameAt + 1).toStdString();
        return e;
    }
    const QList<QByteArray> f = line.split(' ');
    const auto time = f.size() >= 2 ? Whole(f[1], std::numeric_limits<qint64>::min(), std::numeric_limits<qint64>::max())
                                    : std::nullopt;
    if (!time) return std::nullopt;
    e.time = *time;
    if (f[0] == "new" && f.size() == 2) {
        e.kind = HistoryEntry::Kind::NewGame;
        return e;
    }
    if (f[0] != "spin") return std::nullopt;
    const std::optional<SpinRecord> spin = ReadSpin(f);
    if (!spin) return std::nullopt;
    e.spin = *spin;
    return e;
}

HistoryFile::HistoryFile(QString path) : path_(std::move(path)) {}

bool HistoryFile::Fail(const QString& reason) {
    lastError_ = QStringLiteral("%1: %2.").arg(QDir::toNativeSeparators(path_), reason);
    return false;
}

HistoryOpened HistoryFile::Open() {
    opened_ = true;
    HistoryOpened opened;
    const QFileInfo info(path_);
    if (!info.exists()) return opened;
    const auto unusable = [&](const QString& why) {
        unusable_ = why;
        opened.unusable = why;
        return opened;
    };
    // What the game cannot read it never writes over: the history is then kept only while the game runs.
    if (!info.isFile()) return unusable(QStringLiteral("it is a folder or device, not a file"));
    if (info.size() > kMaxHistoryBytes) return unusable(QStringLiteral("it is too large to be the game's history"));
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly)) return unusable(QStringLiteral("it cannot be read (it may belong to another user)"));
    const QByteArray bytes = file.readAll();
    file.close();
    if (bytes.isEmpty()) return opened;

    // Only whole lines count: what follows the last end of line is an append a crash cut short.
    const qsizetype whole = bytes.lastIndexOf('\n') + 1;
    QList<QByteArray> lines = bytes.left(whole).split('\n');
    lines.removeLast();
    int unread = 0, firstUnread = 0;
    const bool headed = !lines.isEmpty() && lines.front() == kHistoryHeader;
    for (qsizetype i = headed ? 1 : 0; headed && i < lines.size(); ++i) {
        if (const std::optional<HistoryEntry> entry = ReadHistoryLine(lines[i])) {
            kept_.Add(*entry);
        } else if (unread++ == 0) {
            firstUnread = static_cast<int>(i) + 1;
        }
    }
    opened.entries.assign(kept_.Entries().begin(), kept_.Entries().end());
    if (headed && unread == 0) {
        lines_ = static_cast<int>(lines.size());
        if (whole < bytes.size() && !QFile::resize(path_, whole))
            return unusable(QStringLiteral("its last line, cut short, cannot be taken off"));
        return opened;
    }

    opened.damaged = !headed ? QStringLiteral("it does not begin as the game's history does")
                     : unread == 1 ? QStringLiteral("line %1 is not one the game writes").arg(firstUnread)
                                   : QStringLiteral("%1 lines, the first of them line %2, are not ones the game writes")
                                         .arg(unread)
                                         .arg(firstUnread);
    // Set aside under a name no file has yet; rename never replaces one.
    for (int n = 1; n < 1000 && opened.keptAs.isEmpty(); ++n) {
        const QString aside = path_ + (n == 1 ? QStringLiteral(".damaged") : QStringLiteral(".damaged-%1").arg(n));
        if (!QFileInfo::exists(aside) && QFile::rename(path_, aside)) opened.keptAs = aside;
    }
    if (opened.keptAs.isEmpty()) return unusable(QStringLiteral("it is damaged and cannot be set aside"));
    SyncFolder(info.absolutePath());
    // The new file begins with what could be read of the old.
    if (!Rewrite()) return unusable(lastError_);
    return opened;
}

bool HistoryFile::Rewrite() {
    QByteArray bytes = QByteArray(kHistoryHeader) + '\n';
    for (const HistoryEntry& e : kept_.Entries()) bytes += HistoryLine(e) + '\n';
    if (!QDir().mkpath(QFileInfo(path_).absolutePath())) return Fail(WhyNotWritable(QFileInfo(path_).absolutePath(), errno));
    if (const int error = ReplaceFile(path_, bytes); error != 0) return Fail(WhyNotWritable(path_, error));
    lines_ = 1 + static_cast<int>(kept_.Entries().size());
    return true;
}

bool HistoryFile::Append(const std::vector<HistoryEntry>& entries) {
    lastError_.clear();
    if (!opened_) Open();
    if (!unusable_.isEmpty()) return Fail(unusable_);
    if (entries.empty()) return true;
    for (const HistoryEntry& e : entries) kept_.Add(e);
    if (lines_ + static_cast<int>(entries.size()) > kRewriteLines) return Rewrite();

    const bool header = lines_ == 0;
    QByteArray bytes;
    if (header) bytes = QByteArray(kHistoryHeader) + '\n';
    for (const HistoryEntry& e : entries) bytes += HistoryLine(e) + '\n';
    const QString folder = QFileInfo(path_).absolutePath();
    if (!QDir().mkpath(folder)) return Fail(WhyNotWritable(folder, errno));
    const bool existed = QFileInfo::exists(path_);
    const int fd = ::open(QFile::encodeName(path_).constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) return Fail(WhyNotWritable(path_, errno));
    const off_t before = ::lseek(fd, 0, SEEK_END);
    int error = 0;
    for (qsizetype done = 0; done < bytes.size() && error == 0;) {
        const ssize_t n = ::write(fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (n > 0) done += n;
        else if (n == 0) error = ENOSPC;
        else if (errno != EINTR) error = errno;
    }
    if (error == 0 && ::fsync(fd) != 0) error = errno;
    // A line half written would run into the next one appended: the file goes back to its last whole line,
    // or where it cannot, is written afresh by the next append.
    if (error != 0 && before >= 0 && ::ftruncate(fd, before) != 0) lines_ = kRewriteLines;
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error != 0) return Fail(WhyNotWritable(path_, error));
    if (!existed) SyncFolder(folder);
    lines_ += static_cast<int>(entries.size()) + (header ? 1 : 0);
    return true;
}

}  // namespace kazoomba
