#pragma once
// The platform as the client reaches it, and the one place where tests replace it: the
// desktop's "open", the message box, the save-file dialog, the clock of the busy waits, the
// network interfaces, the program's folder, the temporary folder and the end of the run.
//
// Production uses Qt: Current() starts as Production(). A test assigns its recorders to the
// fields of Current() and calls Restore() when it is done, so the next test starts from the
// real platform again:
//
//   platform::Current().openDocument = [&](const QString& a) { opened << a; };
//   ...
//   platform::Restore();
//
// The client's own code never reads the fields directly: it calls the routines that use them
// (OpenDocument, ShowMessage, WaitWithEvents, program::EndProgram, wini::ProgramFolder ...).

#include <QMessageBox>
#include <QString>

#include <functional>

class QWidget;

namespace platform {

struct Platform {
    // Opens an address or a file with the desktop's default handler; the result is not
    // examined.
    std::function<void(const QString& address)> openDocument;
    // A message box with one OK button, shown until the user closes it.
    std::function<void(const QString& text, const QString& title, QMessageBox::Icon icon)>
        showMessage;
    // The file a save should write, picked by the user from the suggested name; empty when
    // none was picked.
    std::function<QString(QWidget* parent, const QString& title, const QString& suggested,
                          const QString& filter)>
        chooseSaveFile;
    // Lets the given time pass while window events keep being handled.
    std::function<void(int milliseconds)> wait;
    // Whether the service at this host can be reached at all: see NetworkPresence.h.
    std::function<bool(const QString& serviceHost)> networkPresent;
    // The folder of the executable, beside which the settings file lives.
    std::function<QString()> programFolder;
    // The folder of short-lived files (the preview's page).
    std::function<QString()> temporaryFolder;
    // Told once every window has closed at the end of the run (tests count the ends).
    std::function<void()> programEnded;
};

// The platform of a real run.
Platform Production();
// The platform in use.
Platform& Current();
// Puts the production platform back in place.
void Restore();

}  // namespace platform
