#pragma once
// A client of the crash cycles, run as a process of its own (the client's network code keeps
// one cookie jar for the whole process). It registers its account, signs in, claims a page
// name, then uploads and renames its page in a loop through the gateway, journalling every
// write (see CrashJournal.h). When the service goes away it waits for the driver to write the
// next address, and goes on with the session it held.
//
// The folder it shares with the driver holds:
//   address      "START URL": the number of the service start and its address
//   stop         present once the run is over
//   journal-ID   the worker's journal

#include <QString>

namespace crash {

QString AddressFile(const QString& folder);
QString StopFile(const QString& folder);
QString JournalFile(const QString& folder, int worker);
QString WorkerUser(int worker);

// The worker's program: 0 when it stopped because the run is over.
int RunWorker(int worker, const QString& folder, quint64 seed);

}  // namespace crash
