#include "terminal/ui/qt_core_platform.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QEventLoop>
#include <QTimer>
#include <cmath>

namespace sondix {

QString FromLatin1(std::string_view s) {
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

std::string ToLatin1(const QString& s) {
    const QByteArray b = s.toLatin1();
    return std::string(b.constData(), static_cast<std::size_t>(b.size()));
}

QtClock::QtClock() {
    elapsed_.start();
}

double QtClock::Monotonic() {
    return static_cast<double>(elapsed_.nsecsElapsed()) * 1e-9;
}

Gen::DateTime QtClock::Now() {
    const QDateTime t = QDateTime::currentDateTime();
    return {t.date().year(), t.date().month(),  t.date().day(),
            t.time().hour(), t.time().minute(), t.time().second()};
}

void QtClock::DoEvents() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void QtClock::Wait(double seconds) {
    if (!(seconds > 0)) {
        DoEvents();
        return;
    }
    QEventLoop loop;
    QTimer::singleShot(static_cast<int>(std::lround(seconds * 1000)), &loop, &QEventLoop::quit);
    loop.exec();
}

QtSettingsStore::QtSettingsStore() : settings_("Sondix", "Sondix") {}

// "Settings=9600,n,8,1" written by hand without quotes reads as a list of four texts; it is
// joined back with its commas. A value that is neither (an "@Rect(...)" say) is passed on as
// "?", so the port refuses it with its error box instead of the setting vanishing silently.
std::string QtSettingsStore::Get(std::string_view section, std::string_view key) {
    const QVariant v = settings_.value(FromLatin1(section) + "/" + FromLatin1(key));
    if (!v.isValid()) return {};
    if (v.typeId() == QMetaType::QStringList) return ToLatin1(v.toStringList().join(','));
    if (!v.canConvert<QString>()) return "?";
    return ToLatin1(v.toString());
}

// A text is written as a text (quoted when it holds commas), so it reads back the same.
void QtSettingsStore::Set(std::string_view section, std::string_view key, std::string_view value) {
    settings_.setValue(FromLatin1(section) + "/" + FromLatin1(key), FromLatin1(value));
}

}  // namespace sondix
