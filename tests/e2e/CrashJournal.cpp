#include "CrashJournal.h"

#include <QCryptographicHash>

#include <algorithm>

namespace crash {
namespace {

QString Field(const QString& value) {
    return value.isEmpty() ? QStringLiteral("-") : value;
}
QString Unfield(const QString& word) {
    return word == QLatin1String("-") ? QString() : word;
}

bool IsHash(const QString& word) {
    if (word.size() != 64)
        return false;
    return std::all_of(word.begin(), word.end(), [](QChar c) {
        return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
               (c >= QLatin1Char('a') && c <= QLatin1Char('f'));
    });
}

}  // namespace

QString Op::Text() const {
    switch (kind) {
        case OpKind::Register:
            return QStringLiteral("register ") + first;
        case OpKind::SignIn:
            return QStringLiteral("signin ") + first;
        case OpKind::Claim:
            return QStringLiteral("claim ") + first;
        case OpKind::Upload:
            return QStringLiteral("upload %1 %2 %3")
                .arg(first, QString::fromLatin1(hash))
                .arg(size);
        case OpKind::RenameRow:
            return QStringLiteral("rename-row %1 %2").arg(first, second);
        case OpKind::Move:
            return QStringLiteral("move %1 %2").arg(first, second);
    }
    return {};
}

std::optional<Op> ParseOp(const QStringList& words) {
    if (words.isEmpty())
        return std::nullopt;
    const QString& verb = words[0];
    Op op;
    if (verb == QLatin1String("register") || verb == QLatin1String("signin") ||
        verb == QLatin1String("claim")) {
        if (words.size() != 2)
            return std::nullopt;
        op.kind = verb == QLatin1String("register") ? OpKind::Register
                  : verb == QLatin1String("signin") ? OpKind::SignIn
                                                    : OpKind::Claim;
        op.first = words[1];
        return op;
    }
    if (verb == QLatin1String("upload")) {
        bool ok = false;
        if (words.size() != 4 || !IsHash(words[2]))
            return std::nullopt;
        op.kind = OpKind::Upload;
        op.first = words[1];
        op.hash = words[2].toLatin1();
        op.size = words[3].toLongLong(&ok);
        if (!ok)
            return std::nullopt;
        return op;
    }
    if (verb == QLatin1String("rename-row") || verb == QLatin1String("move")) {
        if (words.size() != 3)
            return std::nullopt;
        op.kind = verb == QLatin1String("move") ? OpKind::Move : OpKind::RenameRow;
        op.first = words[1];
        op.second = words[2];
        return op;
    }
    return std::nullopt;
}

QStringList NamesOf(const Op& op) {
    switch (op.kind) {
        case OpKind::Register:
        case OpKind::SignIn:
            return {};
        case OpKind::Claim:
        case OpKind::Upload:
            return {op.first};
        case OpKind::RenameRow:
        case OpKind::Move:
            return {op.first, op.second};
    }
    return {};
}

AccountState AccountState::After(const Op& op) const {
    AccountState next = *this;
    switch (op.kind) {
        case OpKind::Register:
            next.registered = true;
            break;
        case OpKind::SignIn:
            break;
        case OpKind::Claim:
            next.row = op.first;
            break;
        case OpKind::Upload:
            next.pageAt = op.first;
            next.hash = op.hash;
            break;
        case OpKind::RenameRow:
            // The row update names the old name: it changes nothing unless the row holds it.
            // The page under that name goes along.
            if (next.row == op.second) {
                next.row = op.first;
                if (next.pageAt == op.second)
                    next.pageAt = op.first;
            }
            break;
        case OpKind::Move:
            // Only to the name the row holds; after the row's rename the page is there already.
            if (next.pageAt == op.first && next.row == op.second)
                next.pageAt = op.second;
            break;
    }
    return next;
}

QString AccountState::Text() const {
    if (!registered)
        return QStringLiteral("no account");
    QString text =
        QStringLiteral("row name %1, ").arg(row.isEmpty() ? QStringLiteral("(none)") : row);
    if (pageAt.isEmpty())
        return text + QStringLiteral("no page");
    return text + QStringLiteral("page under %1 with sha256 %2")
                      .arg(pageAt, QString::fromLatin1(hash.left(12)));
}

QByteArray PageHash(const QByteArray& bytes) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

QString Entry::Line() const {
    const QString g = QString::number(gen);
    switch (type) {
        case Type::Sent:
            return QStringLiteral("SENT ") + g + QLatin1Char(' ') + op.Text();
        case Type::Ack:
            return QStringLiteral("ACK ") + g + QLatin1Char(' ') + op.Text();
        case Type::Lost:
            return QStringLiteral("LOST ") + g;
        case Type::Cut:
            return QStringLiteral("CUT ") + g + QLatin1Char(' ') + text.simplified();
        case Type::Fail:
            return QStringLiteral("FAIL ") + g + QLatin1Char(' ') + text.simplified();
        case Type::Seen:
            return QStringLiteral("SEEN %1 %2 %3 %4 %5")
                .arg(g, seen.registered ? QStringLiteral("1") : QStringLiteral("0"),
                     Field(seen.row), Field(seen.pageAt), Field(QString::fromLatin1(seen.hash)));
        case Type::Session:
            return QStringLiteral("SESSION ") + g;
        case Type::Done:
            return QStringLiteral("DONE ") + g;
    }
    return {};
}

std::optional<Entry> ParseEntry(const QString& line) {
    const QStringList words = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.size() < 2)
        return std::nullopt;
    Entry entry;
    bool ok = false;
    entry.gen = words[1].toInt(&ok);
    if (!ok)
        return std::nullopt;
    const QString& type = words[0];
    if (type == QLatin1String("SENT") || type == QLatin1String("ACK")) {
        const auto op = ParseOp(words.mid(2));
        if (!op)
            return std::nullopt;
        entry.type = type == QLatin1String("SENT") ? Entry::Type::Sent : Entry::Type::Ack;
        entry.op = *op;
        return entry;
    }
    if (type == QLatin1String("FAIL") || type == QLatin1String("CUT")) {
        entry.type = type == QLatin1String("FAIL") ? Entry::Type::Fail : Entry::Type::Cut;
        entry.text = words.mid(2).join(QLatin1Char(' '));
        return entry;
    }
    if (type == QLatin1String("SEEN")) {
        if (words.size() != 6 || (words[2] != QLatin1String("0") && words[2] != QLatin1String("1")))
            return std::nullopt;
        entry.type = Entry::Type::Seen;
        entry.seen.registered = words[2] == QLatin1String("1");
        entry.seen.row = Unfield(words[3]);
        entry.seen.pageAt = Unfield(words[4]);
        entry.seen.hash = Unfield(words[5]).toLatin1();
        return entry;
    }
    if (words.size() != 2)
        return std::nullopt;
    if (type == QLatin1String("LOST")) {
        entry.type = Entry::Type::Lost;
    } else if (type == QLatin1String("SESSION")) {
        entry.type = Entry::Type::Session;
    } else if (type == QLatin1String("DONE")) {
        entry.type = Entry::Type::Done;
    } else {
        return std::nullopt;
    }
    return entry;
}

QString Difference(const AccountState& state, const Observation& seen, const QStringList& names) {
    if (!seen.answered)
        return QStringLiteral("no answer: ") + seen.problem;
    if (seen.registered != state.registered) {
        return state.registered ? QStringLiteral("the account is gone")
                                : QStringLiteral("an account that was never registered");
    }
    if (seen.row != state.row) {
        return QStringLiteral("the row holds the page name \"%1\", not \"%2\"")
            .arg(seen.row, state.row);
    }
    for (const QString& name : names) {
        const int status = seen.status.value(name, 0);
        if (name == state.pageAt) {
            if (status != 200) {
                return QStringLiteral("GET /love/%1 answered %2, not the page")
                    .arg(name)
                    .arg(status);
            }
            if (seen.hash.value(name) != state.hash) {
                return QStringLiteral("GET /love/%1 gave other bytes (sha256 %2, not %3)")
                    .arg(name, QString::fromLatin1(seen.hash.value(name).left(12)),
                         QString::fromLatin1(state.hash.left(12)));
            }
        } else if (status != 404) {
            return QStringLiteral("GET /love/%1 answered %2, not 404").arg(name).arg(status);
        }
    }
    return {};
}

void WorkerModel::Feed(const Entry& entry, QStringList* found) {
    auto fail = [&](const QString& text) {
        ++failures;
        found->append(text);
    };
    switch (entry.type) {
        case Entry::Type::Sent:
            if (unknown_) {
                fail(QStringLiteral("journal: %1 sent while %2 was still unknown")
                         .arg(entry.op.Text(), unknown_->Text()));
            }
            unknown_ = entry.op;
            unknownLost_ = false;
            for (const QString& name : NamesOf(entry.op))
                names_.insert(name);
            break;
        case Entry::Type::Ack:
            if (!unknown_ || !(*unknown_ == entry.op)) {
                fail(QStringLiteral("journal: %1 acknowledged but not the write in flight")
                         .arg(entry.op.Text()));
            }
            if (unknownLost_) {
                fail(QStringLiteral("journal: %1 acknowledged after its connection was lost")
                         .arg(entry.op.Text()));
            }
            acknowledged_ = acknowledged_.After(entry.op);
            ++acknowledged[entry.op.kind];
            unknown_.reset();
            answered_.insert(entry.gen);
            break;
        case Entry::Type::Lost:
            lost_.insert(entry.gen);
            if (unknown_ && !unknownLost_) {
                unknownLost_ = true;
                ++unknownWrites;
            }
            break;
        case Entry::Type::Cut:
            if (unknown_ && !unknownLost_) {
                unknownLost_ = true;
                ++unknownWrites;
                ++cutAnswers;
            }
            break;
        case Entry::Type::Fail:
            // A refused write stays unknown until the worker has looked; it reads the state
            // next, as after a lost connection.
            fail(QStringLiteral("worker: ") + entry.text);
            answered_.insert(entry.gen);
            break;
        case Entry::Type::Seen: {
            const auto possible = Possible();
            if (std::find(possible.begin(), possible.end(), entry.seen) == possible.end()) {
                QString expected;
                for (const AccountState& s : possible)
                    expected +=
                        (expected.isEmpty() ? QString() : QStringLiteral(" or ")) + s.Text();
                fail(QStringLiteral("the worker found %1; acknowledged writes allow only %2")
                         .arg(entry.seen.Text(), expected));
            } else if (unknown_ && unknownLost_) {
                const AccountState after = acknowledged_.After(*unknown_);
                if (after == acknowledged_)
                    ++unknownNoTrace;
                else if (entry.seen == after)
                    ++unknownDone;
                else
                    ++unknownNotDone;
            }
            for (const QString& name : {entry.seen.row, entry.seen.pageAt}) {
                if (!name.isEmpty())
                    names_.insert(name);
            }
            acknowledged_ = entry.seen;
            unknown_.reset();
            unknownLost_ = false;
            break;
        }
        case Entry::Type::Session:
            ++sessionsKept;
            break;
        case Entry::Type::Done:
            done_ = true;
            break;
    }
}

std::vector<AccountState> WorkerModel::Possible() const {
    std::vector<AccountState> states{acknowledged_};
    if (unknown_) {
        const AccountState after = acknowledged_.After(*unknown_);
        if (!(after == acknowledged_))
            states.push_back(after);
    }
    return states;
}

QStringList WorkerModel::Names() const {
    QStringList names(names_.begin(), names_.end());
    names.sort();
    return names;
}

}  // namespace crash
