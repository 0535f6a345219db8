#include "CrashWorker.h"

#include "CrashJournal.h"
#include "HttpGet.h"
#include "client/gateway/Gateway.h"
#include "client/gateway/ServiceAddress.h"
#include "client/gateway/XmlHttp.h"
#include "common/Codepage936.h"
#include "common/Statements.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QNetworkAccessManager>
#include <QRandomGenerator>
#include <QThread>

#include <sys/prctl.h>

#include <csignal>
#include <cstdio>
#include <iterator>
#include <utility>

namespace crash {
namespace {

constexpr char16_t kPassword[] = u"zenri520";
constexpr char16_t kPhone[] = u"13800138000";
constexpr char16_t kPageStyle[] = u"测试";
// How long a worker waits for the service to come back before it gives up.
constexpr int kWaitForServiceMs = 120000;
// A request to a running service that takes longer than this counts as lost.
constexpr int kRequestTimeoutMs = 15000;

// The text of the pages: Chinese words (two bytes each in code page 936) and ASCII.
constexpr const char16_t* kWords[] = {u"我爱你", u"第",   u"行",    u"今天", u"明天",  u"永远",
                                      u"喜欢",   u"月亮", u"星星",  u"，",   u"。",    u"<br>\n",
                                      u"love ",  u"520 ", u"1314 ", u"<p>",  u"</p>\n"};

enum class Answer { Ok, Refused, Lost, Cut };

// The words the service refuses with; any other answer than "OK" and these was cut short.
bool IsRefusal(const QString& text) {
    static const QStringList words{"REFUSED",  "DENIED", "TAKEN",  "BADNAME", "BADVALUE", "LIMIT",
                                   "NOTFOUND", "FAILED", "TOOBIG", "BADFORM", "BADNUMBER"};
    return words.contains(text);
}

// A query reply that arrived whole: no row, or rows of the account table (13 fields, the
// last one True or False).
bool IsWholeRowReply(const gateway::QueryReply& reply) {
    if (reply.records.size() < 2)
        return false;
    for (qsizetype k = 1; k < reply.records.size(); ++k) {
        const auto fields = reply.Fields(static_cast<int>(k));
        if (reply.records.size() == 2 && fields->isEmpty())
            return true;
        // A lookup about an account answers a row of empty fields.
        if (fields->size() == 13 && fields->join(QString()).isEmpty())
            continue;
        if (fields->size() != 13 ||
            (fields->last() != QLatin1String("True") && fields->last() != QLatin1String("False"))) {
            return false;
        }
    }
    return true;
}

QString Quoted(const QString& text) {
    return QLatin1Char('"') + text.left(60) + QLatin1Char('"');
}

bool NeedsSession(OpKind kind) {
    return kind == OpKind::Claim || kind == OpKind::Upload || kind == OpKind::RenameRow ||
           kind == OpKind::Move;
}

class Worker {
public:
    Worker(int id, QString folder, quint64 seed)
        : id_(id), folder_(std::move(folder)), user_(WorkerUser(id)), random_(seed) {}

    int Run() {
        journal_.setFileName(JournalFile(folder_, id_));
        if (!journal_.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) {
            std::fprintf(stderr, "worker %d: cannot write %s\n", id_,
                         qPrintable(journal_.fileName()));
            return 2;
        }
        xmlhttp::SetTimeoutMs(kRequestTimeoutMs);
        if (!WaitForService(0))
            return exitCode_;
        while (true) {
            // The driver asks for the stop once every worker has had an answer on the last
            // start of the service; the write that answer belonged to is finished.
            if (answeredThisStart_ && QFile::exists(StopFile(folder_))) {
                Write({Entry::Type::Done, gen_});
                return 0;
            }
            if (mustLook_) {
                if (!Look() && !WaitForService(gen_))
                    return exitCode_;
                continue;
            }
            QString page;
            const Op op = Next(&page);
            if (!Send(op, page) && !WaitForService(gen_))
                return exitCode_;
        }
    }

private:
    void Write(const Entry& entry) {
        const QByteArray line = entry.Line().toUtf8() + '\n';
        if (journal_.write(line) != line.size()) {
            std::fprintf(stderr, "worker %d: cannot write its journal\n", id_);
            std::exit(2);
        }
    }
    void Fail(const QString& text) {
        Entry entry{Entry::Type::Fail, gen_};
        entry.text = text;
        Write(entry);
    }

    // Waits for a start of the service later than the one given. False when the run is over
    // or the service does not come back.
    bool WaitForService(int after) {
        QElapsedTimer waited;
        waited.start();
        while (true) {
            if (QFile::exists(StopFile(folder_))) {
                Write({Entry::Type::Done, gen_});
                exitCode_ = 0;
                return false;
            }
            QFile file(AddressFile(folder_));
            if (file.open(QIODevice::ReadOnly)) {
                const QList<QByteArray> words = file.readAll().trimmed().split(' ');
                bool ok = false;
                const int gen = words.value(0).toInt(&ok);
                if (ok && gen > after && words.size() == 2 &&
                    service::SetAddress(QString::fromLatin1(words[1]))) {
                    gen_ = gen;
                    xmlhttp::Manager().clearConnectionCache();
                    sessionCheckDue_ = signedIn_;
                    answeredThisStart_ = false;
                    signedInThisStart_ = false;
                    return true;
                }
            }
            if (waited.elapsed() > kWaitForServiceMs) {
                Fail(QStringLiteral("no service after start %1 for %2 s")
                         .arg(after)
                         .arg(kWaitForServiceMs / 1000));
                exitCode_ = 3;
                return false;
            }
            QThread::msleep(20);
        }
    }

    QString NewName() { return QStringLiteral("w%1n%2").arg(id_).arg(++names_); }

    QString NewPage() {
        QString text = QStringLiteral(
                           "<html><head><meta charset=\"GBK\"><title>%1</title></head><body>\n"
                           "<p>worker %1, service start %2, page %3</p>\n")
                           .arg(id_)
                           .arg(gen_)
                           .arg(++pages_);
        const int length = 500 + static_cast<int>(random_.bounded(50000));
        while (text.size() < length)
            text += QStringView(kWords[random_.bounded(static_cast<int>(std::size(kWords)))]);
        return text + QStringLiteral("</body></html>\n");
    }

    Op Upload(const QString& name, QString* page) {
        *page = NewPage();
        const QByteArray bytes = cp936::Encode(*page);
        Op op{OpKind::Upload, name};
        op.hash = PageHash(bytes);
        op.size = bytes.size();
        return op;
    }

    // The next write: whatever the account still lacks, then uploads and renames at random.
    Op Next(QString* page) {
        if (!state_.registered)
            return {OpKind::Register, user_};
        if (!signedIn_)
            return {OpKind::SignIn, user_};
        if (state_.row.isEmpty())
            return {OpKind::Claim, NewName()};
        if (state_.pageAt.isEmpty())
            return Upload(state_.row, page);
        // As the client does: the page's move right after the row's rename.
        if (!renamedFrom_.isEmpty())
            return {OpKind::Move, std::exchange(renamedFrom_, QString()), state_.row};
        const int roll = static_cast<int>(random_.bounded(100));
        // Now and then a new session, which the next kill must not take away either.
        if (roll < 4 && !sessionCheckDue_ && !signedInThisStart_)
            return {OpKind::SignIn, user_};
        if (roll < 75)
            return Upload(state_.row, page);
        return {OpKind::RenameRow, NewName(), state_.row};
    }

    std::pair<Answer, QString> Request(const Op& op, const QString& page) {
        if (op.kind == OpKind::SignIn) {
            const auto reply = gateway::Query(statements::SignInLookup(user_, kPassword));
            if (!reply.delivered)
                return {Answer::Lost, {}};
            if (!IsWholeRowReply(reply))
                return {Answer::Cut, reply.records.join(u'|')};
            const auto row = reply.Fields(1);
            if (!row->isEmpty() && row->value(columns::kUser) == user_)
                return {Answer::Ok, {}};
            return {Answer::Refused,
                    row->isEmpty() ? QStringLiteral("no row") : row->value(columns::kUser)};
        }
        xmlhttp::PostReply reply;
        switch (op.kind) {
            case OpKind::Register:
                reply = gateway::Execute(statements::RegistrationInsert(
                    user_, kPassword, kPhone,
                    QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))));
                break;
            case OpKind::Claim:
                reply = gateway::Execute(statements::ClaimPageName(op.first, kPageStyle, user_));
                break;
            case OpKind::Upload:
                reply = gateway::UploadPage(op.first, page);
                break;
            case OpKind::RenameRow:
                reply = gateway::Execute(statements::RenamePageName(op.first, op.second));
                break;
            case OpKind::Move:
                reply = gateway::RenamePage(op.first, op.second);
                break;
            case OpKind::SignIn:
                break;
        }
        if (!reply.delivered)
            return {Answer::Lost, {}};
        if (reply.text == QLatin1String("OK"))
            return {Answer::Ok, {}};
        return {IsRefusal(reply.text) ? Answer::Refused : Answer::Cut, reply.text};
    }

    // Sends one write and journals its answer. False when the connection was lost.
    bool Send(const Op& op, const QString& page) {
        Write({Entry::Type::Sent, gen_, op});
        unknown_ = op;
        if (op.kind == OpKind::SignIn)
            signedInThisStart_ = true;
        const auto [answer, word] = Request(op, page);
        if (answer == Answer::Lost) {
            Write({Entry::Type::Lost, gen_});
            mustLook_ = true;
            return false;
        }
        if (answer == Answer::Cut) {
            Entry entry{Entry::Type::Cut, gen_};
            entry.text = QStringLiteral("answer ") + Quoted(word);
            Write(entry);
            mustLook_ = true;
            return true;
        }
        answeredThisStart_ = true;
        const bool firstWithOldSession = NeedsSession(op.kind) && sessionCheckDue_;
        if (NeedsSession(op.kind))
            sessionCheckDue_ = false;
        if (answer == Answer::Ok) {
            Write({Entry::Type::Ack, gen_, op});
            unknown_.reset();
            state_ = state_.After(op);
            if (op.kind == OpKind::SignIn)
                signedIn_ = true;
            if (op.kind == OpKind::RenameRow)
                renamedFrom_ = op.second;
            if (firstWithOldSession)
                Write({Entry::Type::Session, gen_});
            return true;
        }
        QString text = QStringLiteral("%1 answered %2").arg(op.Text(), Quoted(word));
        if (firstWithOldSession)
            text += QStringLiteral(
                ": the first write after the restart, with the session held "
                "before it");
        Fail(text);
        if (op.kind == OpKind::SignIn || word == QLatin1String("DENIED"))
            signedIn_ = false;
        // A refusal should have changed nothing; the worker looks rather than trusts it.
        mustLook_ = true;
        return true;
    }

    // Reads what the service holds for the account after a write without a clear answer: the
    // account's row, and the page under each name it may be under. False when the connection
    // was lost again.
    bool Look() {
        const auto lookup = gateway::Query(statements::RegistrationLookup(user_));
        if (!lookup.delivered) {
            Write({Entry::Type::Lost, gen_});
            return false;
        }
        if (!IsWholeRowReply(lookup)) {
            // The service is up (the driver kills it only after every worker's first write on
            // this start), so this is no crash: a reply like this must not come at all.
            Fail(QStringLiteral("the registration lookup answered ") +
                 Quoted(lookup.records.join(u'|')));
            if (++unreadable_ > 3) {
                exitCode_ = 3;
                std::exit(exitCode_);
            }
            QThread::msleep(200);
            return true;
        }
        // The registration lookup tells only whether the account exists; which name its row
        // holds the page-name lookup tells the account's own session.
        AccountState seen;
        seen.registered = lookup.records.size() == 2;
        QStringList candidates{state_.pageAt, state_.row};
        if (unknown_)
            candidates += NamesOf(*unknown_);
        candidates.removeAll(QString());
        candidates.removeDuplicates();
        if (seen.registered) {
            for (const QString& name : candidates) {
                const auto holder = gateway::Query(statements::PageNameLookup(name));
                if (!holder.delivered) {
                    Write({Entry::Type::Lost, gen_});
                    return false;
                }
                if (holder.HasRecord(1) && holder.Fields(1)->value(columns::kUser) == user_)
                    seen.row = name;
            }
        }
        for (const QString& name : candidates) {
            const HttpResult page = HttpGet(service::PageAddress(name));
            if (page.status == 0) {
                Write({Entry::Type::Lost, gen_});
                return false;
            }
            if (page.status == 200) {
                if (!seen.pageAt.isEmpty()) {
                    Fail(
                        QStringLiteral("the page is under %1 and under %2").arg(seen.pageAt, name));
                }
                seen.pageAt = name;
                seen.hash = PageHash(page.body);
            } else if (page.status != 404) {
                Fail(QStringLiteral("GET /love/%1 answered %2").arg(name).arg(page.status));
            }
        }
        Entry entry{Entry::Type::Seen, gen_};
        entry.seen = seen;
        Write(entry);
        // After a sign-in without an answer the worker signs in anew; which session it held
        // then is not known, so this start does not count for the sessions.
        if (unknown_ && unknown_->kind == OpKind::SignIn) {
            signedIn_ = false;
            sessionCheckDue_ = false;
        }
        unknown_.reset();
        state_ = seen;
        mustLook_ = false;
        return true;
    }

    const int id_;
    const QString folder_;
    const QString user_;
    QRandomGenerator random_;
    QFile journal_;
    int exitCode_ = 0;

    int gen_ = 0;
    AccountState state_;
    std::optional<Op> unknown_;
    bool mustLook_ = false;
    bool signedIn_ = false;
    bool sessionCheckDue_ = false;
    bool answeredThisStart_ = false;
    bool signedInThisStart_ = false;
    QString renamedFrom_;  // the old name of a row rename whose page move is yet to be sent
    int names_ = 0;
    int pages_ = 0;
    int unreadable_ = 0;
};

}  // namespace

QString AddressFile(const QString& folder) {
    return folder + QStringLiteral("/address");
}
QString StopFile(const QString& folder) {
    return folder + QStringLiteral("/stop");
}
QString JournalFile(const QString& folder, int worker) {
    return folder + QStringLiteral("/journal-%1").arg(worker);
}
QString WorkerUser(int worker) {
    return QStringLiteral("66%1").arg(worker, 6, 10, QLatin1Char('0'));
}

int RunWorker(int worker, const QString& folder, quint64 seed) {
    // A worker never outlives its driver.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    return Worker(worker, folder, seed).Run();
}

}  // namespace crash
