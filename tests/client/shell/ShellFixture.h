#pragma once
// A running service on loopback, the client pointed at it, and recorders in place of the
// platform (Platform.h): the desktop's "open", the message box, the network test, the program
// folder and the end of the program.

#include "QtPrinters.h"
#include "ServiceProcess.h"
#include "client/platform/Platform.h"

#include <QMessageBox>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

struct RecordedMessage {
    QString text, title;
    QMessageBox::Icon icon;
};

// One request as the client sent it: its command code and its statement (if any).
struct RecordedRequest {
    int code = 0;
    QString statement;
};

class ShellFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Statements of the requests recorded so far, in order ("zc=51" gives "(server time)").
    QStringList RequestStatements() const;

    ServiceProcess service;
    QTemporaryDir programFolder;
    QStringList openedDocuments;
    QList<RecordedMessage> messages;
    QList<RecordedRequest> requests;
    int programEnds = 0;
    bool networkPresent = true;
};

// Sets the settings field of the service (1 to 5) with the operator command.
void SetServiceSetting(const ServiceProcess& service, int field, const QString& value);
