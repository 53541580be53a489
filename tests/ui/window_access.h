#pragma once
// Finds the window's controls by name, as a user finds them by sight.

#include <QLabel>
#include <QWidget>
#include <stdexcept>
#include <string>

namespace orvane::test {

template <class Control>
Control& control(const QWidget& window, const char* name) {
    auto* found = window.findChild<Control*>(QString::fromLatin1(name));
    if (!found) throw std::runtime_error(std::string("the window has no control ") + name);
    return *found;
}

inline std::string labelText(const QWidget& window, const char* name) {
    return control<QLabel>(window, name).text().toStdString();
}

}  // namespace orvane::test
