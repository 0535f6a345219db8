#pragma once
// The demo account of every test service (ServiceProcess starts each with "init --demo"),
// named once for all tests. The values are the service's own demo data.

#include "server/ServiceProgram.h"

#include <QString>

inline const QString kDemoUser = QString::fromUtf16(server::kDemoUser);
inline const QString kDemoPassword = QString::fromUtf16(server::kDemoPassword);
inline const QString kDemoPhone = QString::fromUtf16(server::kDemoPhone);
