#pragma once
// How a window loads the stored set of a control it builds. The sets are the window's own data,
// so a set that does not read is a fault of the program, not of the user: it stops a debug
// build at once and is logged, with the control and the key, in every build. The control keeps
// the values read up to that key, as ReadProperties leaves it.

#include "client/controls/PropertyBag.h"

#include <QString>
#include <QtGlobal>

namespace controls {

template <class Control>
bool LoadProperties(Control& control, const PropertyBag& bag) {
    QString failedKey;
    const bool ok = control.ReadProperties(bag, &failedKey);
    if (!ok) {
        qWarning("%s: the stored property %s could not be read", qPrintable(control.objectName()),
                 qPrintable(failedKey));
    }
    Q_ASSERT_X(ok, "LoadProperties", "a stored property set did not read");
    return ok;
}

}  // namespace controls
