// The replay of the crash-cycle journals: which states an acknowledged history allows, and
// that a lost, stale or invented write does not pass.

#include "CrashJournal.h"

#include <gtest/gtest.h>

namespace crash {
namespace {

QByteArray Hash(const char* text) {
    return PageHash(QByteArray(text));
}

Op Upload(const QString& name, const char* bytes) {
    Op op{OpKind::Upload, name};
    op.hash = Hash(bytes);
    op.size = static_cast<qint64>(qstrlen(bytes));
    return op;
}

// Feeds journal lines; returns the failures they showed.
QStringList Replay(WorkerModel& model, const QStringList& lines) {
    QStringList failures;
    for (const QString& line : lines) {
        const auto entry = ParseEntry(line);
        EXPECT_TRUE(entry) << line.toStdString();
        if (entry)
            model.Feed(*entry, &failures);
    }
    return failures;
}

QString Sent(int gen, const Op& op) {
    return Entry{Entry::Type::Sent, gen, op}.Line();
}
QString Ack(int gen, const Op& op) {
    return Entry{Entry::Type::Ack, gen, op}.Line();
}

// An account whose page "b" was uploaded under w0n1 and then renamed to w0n2.
QStringList History() {
    const Op reg{OpKind::Register, "66000000"};
    const Op signIn{OpKind::SignIn, "66000000"};
    const Op claim{OpKind::Claim, "w0n1"};
    const Op first = Upload("w0n1", "a");
    const Op second = Upload("w0n1", "b");
    const Op row{OpKind::RenameRow, "w0n2", "w0n1"};
    const Op move{OpKind::Move, "w0n1", "w0n2"};
    return {Sent(1, reg),  Ack(1, reg),    Sent(1, signIn), Ack(1, signIn),  Sent(1, claim),
            Ack(1, claim), Sent(1, first), Ack(1, first),   Sent(1, second), Ack(1, second),
            Sent(1, row),  Ack(1, row),    Sent(1, move),   Ack(1, move)};
}

Observation Seen(const QString& row, const QMap<QString, QByteArray>& pages,
                 const QStringList& names) {
    Observation seen;
    seen.registered = true;
    seen.row = row;
    for (const QString& name : names) {
        seen.status[name] = pages.contains(name) ? 200 : 404;
        if (pages.contains(name))
            seen.hash[name] = pages[name];
    }
    return seen;
}

TEST(CrashJournal, LinesReadBackAsWritten) {
    Entry seen{Entry::Type::Seen, 4};
    seen.seen = {true, "w1n3", "", ""};
    Entry fail{Entry::Type::Fail, 2};
    fail.text = "upload w1n3 answered \"DENIED\"";
    Entry cut{Entry::Type::Cut, 2};
    cut.text = "answer \"O\"";
    const QStringList lines{cut.Line(),
                            Sent(3, Upload("w1n3", "page")),
                            Ack(3, Op{OpKind::RenameRow, "w1n4", "w1n3"}),
                            Entry{Entry::Type::Lost, 3}.Line(),
                            seen.Line(),
                            fail.Line(),
                            Entry{Entry::Type::Session, 5}.Line()};
    for (const QString& line : lines) {
        const auto entry = ParseEntry(line);
        ASSERT_TRUE(entry) << line.toStdString();
        EXPECT_EQ(entry->Line(), line);
    }
    EXPECT_EQ(ParseEntry("SEEN 4 1 w1n3 - -")->seen, (AccountState{true, "w1n3", "", ""}));
    EXPECT_FALSE(ParseEntry("ACK 3 upload w1n3 nothex 4"));
    EXPECT_FALSE(ParseEntry("ACK x claim w1n3"));
    EXPECT_FALSE(ParseEntry("ACK 3 rename-row w1n4"));
    EXPECT_FALSE(ParseEntry("LOST 3 extra"));
    EXPECT_FALSE(ParseEntry("SEEN 4 2 a b c"));
}

TEST(CrashJournal, AcknowledgedHistoryGivesOneState) {
    WorkerModel model;
    EXPECT_TRUE(Replay(model, History()).isEmpty());
    EXPECT_EQ(model.Acknowledged(), (AccountState{true, "w0n2", "w0n2", Hash("b")}));
    EXPECT_EQ(model.Possible().size(), 1u);
    EXPECT_EQ(model.Names(), (QStringList{"w0n1", "w0n2"}));
    EXPECT_EQ(model.acknowledged.value(OpKind::Upload), 2);
    EXPECT_TRUE(model.AnsweredOn(1));
    EXPECT_FALSE(model.AnsweredOn(2));
}

TEST(CrashJournal, EveryDifferenceFromTheAcknowledgedStateIsFound) {
    WorkerModel model;
    Replay(model, History());
    const AccountState state = model.Acknowledged();
    const QStringList names = model.Names();
    EXPECT_EQ(Difference(state, Seen("w0n2", {{"w0n2", Hash("b")}}, names), names), "");
    // The last upload lost: the older bytes came back.
    EXPECT_NE(Difference(state, Seen("w0n2", {{"w0n2", Hash("a")}}, names), names), "");
    // The page left under the old name, or under both.
    EXPECT_NE(Difference(state, Seen("w0n2", {{"w0n1", Hash("b")}}, names), names), "");
    EXPECT_NE(
        Difference(state, Seen("w0n2", {{"w0n1", Hash("b")}, {"w0n2", Hash("b")}}, names), names),
        "");
    // The page gone, the row rename lost, the account gone.
    EXPECT_NE(Difference(state, Seen("w0n2", {}, names), names), "");
    EXPECT_NE(Difference(state, Seen("w0n1", {{"w0n2", Hash("b")}}, names), names), "");
    Observation gone = Seen("", {{"w0n2", Hash("b")}}, names);
    gone.registered = false;
    EXPECT_NE(Difference(state, gone, names), "");
    // A name that answered neither the page nor 404, and a check without an answer.
    Observation failing = Seen("w0n2", {{"w0n2", Hash("b")}}, names);
    failing.status["w0n1"] = 500;
    EXPECT_NE(Difference(state, failing, names), "");
    Observation silent;
    silent.answered = false;
    EXPECT_NE(Difference(state, silent, names), "");
}

TEST(CrashJournal, AWriteWithoutAnswerAllowsBothStatesAndNoOther) {
    WorkerModel model;
    Replay(model, History());
    const Op upload = Upload("w0n2", "c");
    Replay(model, {Sent(1, upload), Entry{Entry::Type::Lost, 1}.Line()});
    EXPECT_EQ(model.unknownWrites, 1);
    ASSERT_EQ(model.Possible().size(), 2u);
    const QStringList names = model.Names();
    auto allowed = [&](const Observation& seen) {
        for (const AccountState& state : model.Possible()) {
            if (Difference(state, seen, names).isEmpty())
                return true;
        }
        return false;
    };
    EXPECT_TRUE(allowed(Seen("w0n2", {{"w0n2", Hash("b")}}, names)));
    EXPECT_TRUE(allowed(Seen("w0n2", {{"w0n2", Hash("c")}}, names)));
    EXPECT_FALSE(allowed(Seen("w0n2", {{"w0n2", Hash("a")}}, names)));
    EXPECT_FALSE(allowed(Seen("w0n2", {}, names)));
}

TEST(CrashJournal, AnAnswerCutShortLeavesTheWriteUnknown) {
    WorkerModel model;
    Replay(model, History());
    const Op upload = Upload("w0n2", "c");
    Entry cut{Entry::Type::Cut, 1};
    cut.text = "answer \"\"";
    EXPECT_TRUE(
        Replay(model, {Sent(1, upload), cut.Line(), Entry{Entry::Type::Lost, 1}.Line()}).isEmpty());
    EXPECT_EQ(model.unknownWrites, 1);
    EXPECT_EQ(model.cutAnswers, 1);
    EXPECT_EQ(model.Possible().size(), 2u);
    EXPECT_EQ(model.acknowledged.value(OpKind::Upload), 2);
}

// The row's rename takes the page along: without an answer, both went or neither did.
TEST(CrashJournal, AnUnknownRenameMayHaveHappenedOrNot) {
    WorkerModel model;
    Replay(model, History());
    const Op row{OpKind::RenameRow, "w0n3", "w0n2"};
    Replay(model, {Sent(1, row), Entry{Entry::Type::Lost, 1}.Line()});
    const auto possible = model.Possible();
    ASSERT_EQ(possible.size(), 2u);
    EXPECT_EQ(possible[0], (AccountState{true, "w0n2", "w0n2", Hash("b")}));
    EXPECT_EQ(possible[1], (AccountState{true, "w0n3", "w0n3", Hash("b")}));
    // The worker found it done.
    QStringList failures = Replay(model, {"SEEN 2 1 w0n3 w0n3 " + Hash("b")});
    EXPECT_TRUE(failures.isEmpty()) << failures.join('\n').toStdString();
    EXPECT_EQ(model.unknownDone, 1);
    EXPECT_FALSE(model.Unknown());
    EXPECT_EQ(model.Possible().size(), 1u);
}

TEST(CrashJournal, AStateNoHistoryExplainsFails) {
    WorkerModel model;
    Replay(model, History());
    const Op upload = Upload("w0n2", "c");
    Replay(model, {Sent(1, upload), Entry{Entry::Type::Lost, 1}.Line()});
    // The page under its old name again: neither the acknowledged state nor the unknown
    // upload gives it.
    const QStringList failures = Replay(model, {"SEEN 2 1 w0n2 w0n1 " + Hash("b")});
    EXPECT_EQ(failures.size(), 1);
    EXPECT_EQ(model.failures, 1);
}

TEST(CrashJournal, WorkerFailuresAndOutOfOrderLinesCount) {
    WorkerModel model;
    const Op claim{OpKind::Claim, "w0n1"};
    QStringList failures = Replay(model, {Ack(1, claim)});
    EXPECT_EQ(failures.size(), 1);  // acknowledged without being sent
    Entry fail{Entry::Type::Fail, 2};
    fail.text = "upload w0n1 answered \"DENIED\"";
    failures = Replay(model, {fail.Line()});
    EXPECT_EQ(failures.size(), 1);
    const Op upload = Upload("w0n1", "a");
    failures = Replay(model, {Sent(2, upload), Entry{Entry::Type::Lost, 2}.Line(), Ack(2, upload)});
    EXPECT_EQ(failures.size(), 1);  // an answer after the connection was lost
    EXPECT_EQ(model.failures, 3);
}

}  // namespace
}  // namespace crash
