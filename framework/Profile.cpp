#include "framework/Profile.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <QString>

#include <cctype>
#include <climits>

namespace vantorel {

namespace {
std::string& PathOverride()
{
    static std::string path;
    return path;
}

QString Key(const std::string& section, const std::string& key)
{
    return QString::fromStdString(section) + "/" + QString::fromStdString(key);
}
} // namespace

std::string GetProfilePath()
{
    if (!PathOverride().empty())
        return PathOverride();
    QString dir = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (dir.isEmpty())
        dir = QDir::homePath() + "/.config";
    return (dir + "/vantorel.ini").toStdString();
}

void SetProfilePathOverride(const std::string& path) { PathOverride() = path; }

bool ParseProfileInt(const std::string& text, int& nValue)
{
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i >= text.size() || !std::isdigit(static_cast<unsigned char>(text[i])))
        return false;
    long long v = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        v = v * 10 + (text[i] - '0');
        if (v > 1LL + INT_MAX)
            v = 1LL + INT_MAX; // keep going, but never overflow
    }
    if (negative)
        v = -v;
    if (v > INT_MAX)
        v = INT_MAX;
    if (v < INT_MIN)
        v = INT_MIN;
    nValue = int(v);
    return true;
}

int GetProfileInt(const std::string& section, const std::string& key, int nDefault)
{
    QSettings s(QString::fromStdString(GetProfilePath()), QSettings::IniFormat);
    const QVariant v = s.value(Key(section, key));
    if (!v.isValid())
        return nDefault;
    // A value holding a comma comes back as a list; read its first part.
    const QString text = v.canConvert<QStringList>() && v.typeId() == QMetaType::QStringList
                             ? v.toStringList().value(0)
                             : v.toString();
    int n = nDefault;
    return ParseProfileInt(text.toStdString(), n) ? n : nDefault;
}

void WriteProfileInt(const std::string& section, const std::string& key, int nValue)
{
    QSettings s(QString::fromStdString(GetProfilePath()), QSettings::IniFormat);
    s.setValue(Key(section, key), QString::number(nValue));
}

std::string GetProfileString(const std::string& section, const std::string& key, const std::string& strDefault)
{
    QSettings s(QString::fromStdString(GetProfilePath()), QSettings::IniFormat);
    const QVariant v = s.value(Key(section, key));
    if (!v.isValid())
        return strDefault;
    if (v.typeId() == QMetaType::QStringList)
        return v.toStringList().join(",").toStdString();
    return v.toString().toStdString();
}

void WriteProfileString(const std::string& section, const std::string& key, const std::string& value)
{
    QSettings s(QString::fromStdString(GetProfilePath()), QSettings::IniFormat);
    s.setValue(Key(section, key), QString::fromStdString(value));
}

} // namespace vantorel
