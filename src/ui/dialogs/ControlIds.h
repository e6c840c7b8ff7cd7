#pragma once

#include <QObject>
#include <QVariant>

namespace veltrano {

// The numeric identifier a control or command has always had (the numbers users' macros and
// documentation know). Object names say what a widget is; the number travels as this property.
inline constexpr char kControlIdProperty[] = "controlId";

inline void setControlId(QObject* object, int id) {
    object->setProperty(kControlIdProperty, id);
}

inline int controlId(const QObject* object) {
    return object->property(kControlIdProperty).toInt();
}

// The child of `parent` of type T whose control id is `id`, or nullptr.
template <typename T>
T* findByControlId(const QObject* parent, int id) {
    for (T* child : parent->findChildren<T*>())
        if (controlId(child) == id) return child;
    return nullptr;
}

}  // namespace veltrano
