#pragma once

#include <QLocale>

namespace corvix::test {

// Sets the default locale for the lifetime of the guard and restores the previous one, so value
// texts can be checked with a "." and with a "," decimal separator.
class LocaleGuard {
public:
    explicit LocaleGuard(const QLocale& locale) { QLocale::setDefault(locale); }
    ~LocaleGuard() { QLocale::setDefault(saved_); }
    LocaleGuard(const LocaleGuard&) = delete;
    LocaleGuard& operator=(const LocaleGuard&) = delete;

    static QLocale point() { return QLocale(QLocale::English, QLocale::UnitedStates); }
    static QLocale comma() { return QLocale(QLocale::German, QLocale::Germany); }

private:
    QLocale saved_;
};

}  // namespace corvix::test
