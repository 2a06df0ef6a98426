// Helpers for checking what assistive technology is told: the interface of a widget, its actions, and
// the events raised while a test runs.
#pragma once

#include <QAccessible>
#include <QAccessibleInterface>
#include <QObject>
#include <vector>

#include "access/Accessible.h"

namespace kazoomba::testing {

struct HeardEvent {
    QAccessible::Event type;
    QObject* object;
    QString name;
};

// Records every event the game raises for assistive technology while it is in scope.
class AccessibilityListener {
public:
    AccessibilityListener() {
        heard().clear();
        ui::SetAccessibilityWitness(&Record);
    }
    ~AccessibilityListener() { ui::SetAccessibilityWitness(nullptr); }
    const std::vector<HeardEvent>& events() const { return heard(); }
    void Clear() { heard().clear(); }
    int Count(QAccessible::Event type, const QObject* object) const {
        int n = 0;
        for (const HeardEvent& e : heard()) n += e.type == type && e.object == object;
        return n;
    }

private:
    static std::vector<HeardEvent>& heard() {
        static std::vector<HeardEvent> events;
        return events;
    }
    static void Record(QAccessibleEvent* event) {
        QAccessibleInterface* iface = event->accessibleInterface();
        heard().push_back({event->type(), event->object(), iface ? iface->text(QAccessible::Name) : QString()});
    }
};

inline QAccessibleInterface* Accessible(QObject* object) { return QAccessible::queryAccessibleInterface(object); }

inline bool HasPress(QAccessibleInterface* iface) {
    return iface->actionInterface() &&
           iface->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction());
}

// Presses as a screen reader does, then lets the queued command run.
inline void PressThroughAccessibility(QObject* object) {
    Accessible(object)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QCoreApplication::processEvents();
}

}  // namespace kazoomba::testing
