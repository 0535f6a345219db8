#pragma once
// The journal of a crash-cycle worker and what the driver makes of it.
//
// A worker is one client, one account, one page. It writes a line to its journal before every
// write it sends (SENT), and one for every answer it gets: ACK for "OK", FAIL for anything the
// run must not see (a refusal, an impossible page). LOST means the request had no answer: the
// service went away. The write in flight is then unknown; it may or may not have happened, and
// the worker learns which through reads once the service is back (SEEN). CUT is an answer
// that came back incomplete although the client's network code took it for a whole one (Qt
// reports some replies cut short by a dying server as complete): the write is unknown as
// after LOST. Lines:
//   SENT g OP...    ACK g OP...    LOST g    CUT g TEXT...    FAIL g TEXT...
//   SEEN g R ROW PAGE HASH        SESSION g       DONE g
// g is the number of the service start the worker talked to. OP is one of
//   register USER | signin USER | claim NAME | upload NAME SHA256 SIZE
//   rename-row NEW OLD | move OLD NEW
// and "-" stands for an empty field of SEEN. SESSION g follows the first write answered OK
// after a restart when the worker went on with the session it held before the kill.
//
// WorkerModel replays a journal: the state every acknowledged write leads to, and at most one
// unknown write on top of it. The states a check may find are the acknowledged one and, while
// a write is unknown, the one that write leads to; anything else is a lost or invented write.

#include <QByteArray>
#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace crash {

enum class OpKind { Register, SignIn, Claim, Upload, RenameRow, Move };

struct Op {
    OpKind kind = OpKind::Register;
    QString first;    // user (register, signin), page name (claim, upload), new name, old name
    QString second;   // rename-row: old name; move: new name
    QByteArray hash;  // upload: SHA-256 of the page bytes, in hex
    qint64 size = 0;  // upload: bytes

    QString Text() const;
    bool operator==(const Op&) const = default;
};

std::optional<Op> ParseOp(const QStringList& words);
// The page names an operation mentions.
QStringList NamesOf(const Op& op);

// What the service holds for one worker.
struct AccountState {
    bool registered = false;
    QString row;      // the page name in the account's row ("" none)
    QString pageAt;   // the name the page is served under ("" no page)
    QByteArray hash;  // SHA-256 of its bytes, in hex

    AccountState After(const Op& op) const;
    QString Text() const;
    bool operator==(const AccountState&) const = default;
};

QByteArray PageHash(const QByteArray& bytes);

struct Entry {
    enum class Type { Sent, Ack, Lost, Cut, Fail, Seen, Session, Done };
    Type type = Type::Lost;
    int gen = 0;
    Op op;              // SENT, ACK
    AccountState seen;  // SEEN
    QString text;       // CUT, FAIL

    QString Line() const;  // without the line end
};

std::optional<Entry> ParseEntry(const QString& line);

// What a check found for one account: its row through the registration lookup, and for every
// page name the account ever used the status of GET /love/NAME and the hash of its body.
struct Observation {
    bool answered = true;  // false when a request had no answer at all
    QString problem;       // why answered is false
    bool registered = false;
    QString row;
    QMap<QString, int> status;
    QMap<QString, QByteArray> hash;
};

// Empty when the observation shows exactly this state over these names (the page under
// state.pageAt with its bytes, 404 for every other name); else the first difference.
QString Difference(const AccountState& state, const Observation& seen, const QStringList& names);

class WorkerModel {
public:
    // Takes one journal line; the failures it shows are added to the list.
    void Feed(const Entry& entry, QStringList* found);

    const AccountState& Acknowledged() const { return acknowledged_; }
    const std::optional<Op>& Unknown() const { return unknown_; }
    // The acknowledged state, then the one the unknown write leads to (when there is one and
    // it differs).
    std::vector<AccountState> Possible() const;
    // Every page name the account used or tried, sorted.
    QStringList Names() const;

    // Whether the worker got an answer to some write (ACK or FAIL) on service start g, or
    // lost its connection to it.
    bool AnsweredOn(int gen) const { return answered_.contains(gen); }
    bool LostOn(int gen) const { return lost_.contains(gen); }
    bool Done() const { return done_; }

    // Figures for the summary.
    QMap<OpKind, int> acknowledged;  // writes answered OK, by kind
    int unknownWrites = 0;           // writes in flight when the service went away
    int cutAnswers = 0;              // of them, with an answer cut short (CUT)
    int unknownDone = 0;             // of them, found done afterwards
    int unknownNotDone = 0;          // found not done
    int unknownNoTrace = 0;          // sign-ins, which leave nothing to see
    int sessionsKept = 0;
    int failures = 0;

private:
    AccountState acknowledged_;
    std::optional<Op> unknown_;
    bool unknownLost_ = false;
    QSet<QString> names_;
    QSet<int> answered_;
    QSet<int> lost_;
    bool done_ = false;
};

}  // namespace crash
