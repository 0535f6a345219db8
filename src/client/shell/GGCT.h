#pragma once
// The shared state of the run: one hidden window that is never shown, created on first use
// and closed last by the exit path. Every window reads and writes its fields directly.

#include "client/pages/TemplateStore.h"

#include <QString>
#include <QWidget>

#include <memory>

class GGCT : public QWidget {
    Q_OBJECT
public:
    static GGCT& Instance();
    // Forgets the instance (after the exit path closed it); the next use makes a fresh one.
    static void Reset();

    QString YHM = QStringLiteral("用户名");     // the signed-in user, as typed at sign-in
    QString YMFG = QStringLiteral("页面风格");  // caption of the style whose editor opened last
    QString WJM = QStringLiteral("文件名");     // the user's exclusive page name
    QString FGN;                                // the page generated last

    // The template store (FG1 … FG8, PF), loaded on first use with the service address
    // configured at that moment.
    const pages::TemplateStore& Templates();

private:
    GGCT();
    std::unique_ptr<pages::TemplateStore> templates_;
};
