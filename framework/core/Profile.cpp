#include "framework/core/Profile.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <QString>

#include <cctype>
#include <climits>
#include <map>
#include <memory>
#include <optional>
#include <set>

#include "framework/core/MessageBox.h"
#include "framework/core/SafeFile.h"
#include "res/strings/app.h"

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

// Another instance of the program may share the profile. What this one last
// read or wrote of each key tells whether the other changed the key since, and
// whether this one has: a merged write gives way to the other's change unless
// this instance changed the value itself. Without it, the last one to close
// would put back every setting the other had changed.
struct CSeenKey {
    std::optional<QString> stored; // the text in the file; none when missing
    QString value;                 // what the read made of it, defaults included
};

std::map<std::string, CSeenKey>& SeenKeys()
{
    static std::map<std::string, CSeenKey> seen;
    return seen;
}

std::string SeenId(const std::string& section, const std::string& key)
{
    return GetProfilePath() + '\n' + section + '\n' + key;
}

std::optional<QString> StoredText(const QVariant& v)
{
    if (!v.isValid())
        return std::nullopt;
    if (v.typeId() == QMetaType::QStringList)
        return v.toStringList().join(",");
    return v.toString();
}

void Remember(const std::string& section, const std::string& key, const QVariant& stored,
              const QString& value)
{
    SeenKeys()[SeenId(section, key)] = {StoredText(stored), value};
}

void Write(QSettings& s, const std::string& section, const std::string& key, const QString& text)
{
    s.setValue(Key(section, key), text);
    Remember(section, key, text, text);
}

// Writes text under the key unless another instance changed the key since
// this one saw it and this one has not changed it.
void WriteMerged(QSettings& s, const std::string& section, const std::string& key, const QString& text)
{
    const auto seen = SeenKeys().find(SeenId(section, key));
    if (seen != SeenKeys().end() && StoredText(s.value(Key(section, key))) != seen->second.stored &&
        text == seen->second.value)
        return;
    Write(s, section, key, text);
}

// The profile when it can be used, else null. QSettings would block for ever
// on a pipe and would replace a device node (or whatever a link names) with
// a new file, so only a regular file, or none yet, is handed to it; a link is
// followed so that the link stays and its file gets the settings. Anything
// else is told once, and the defaults stand in without ever being written.
std::unique_ptr<QSettings> OpenProfile()
{
    const std::string path = GetProfilePath();
    const std::string target = ResolveFileLinks(path);
    CFileReader probe;
    const FileFault fault = probe.Open(target);
    probe.Close();
    if (fault != FileFault::None && fault != FileFault::NotFound) {
        static std::set<std::string> warned;
        if (warned.insert(path).second)
            AfxMessageBox(
                QString::fromLatin1(res::kProfileUnusable).arg(QString::fromStdString(path)).toStdString());
        return nullptr;
    }
    return std::make_unique<QSettings>(QString::fromStdString(target), QSettings::IniFormat);
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

void SetProfilePathOverride(const std::string& path)
{
    PathOverride() = path;
    SeenKeys().clear();
}

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
    const auto s = OpenProfile();
    const QVariant v = s ? s->value(Key(section, key)) : QVariant();
    int n = nDefault;
    if (v.isValid()) {
        // A value holding a comma comes back as a list; read its first part.
        const QString text = v.typeId() == QMetaType::QStringList ? v.toStringList().value(0) : v.toString();
        if (!ParseProfileInt(text.toStdString(), n))
            n = nDefault;
    }
    if (s)
        Remember(section, key, v, QString::number(n));
    return n;
}

void WriteProfileInt(const std::string& section, const std::string& key, int nValue)
{
    if (const auto s = OpenProfile())
        Write(*s, section, key, QString::number(nValue));
}

void MergeProfileInt(const std::string& section, const std::string& key, int nValue)
{
    if (const auto s = OpenProfile())
        WriteMerged(*s, section, key, QString::number(nValue));
}

std::string GetProfileString(const std::string& section, const std::string& key,
                             const std::string& strDefault)
{
    const auto s = OpenProfile();
    const QVariant v = s ? s->value(Key(section, key)) : QVariant();
    const std::string value = StoredText(v).value_or(QString::fromStdString(strDefault)).toStdString();
    if (s)
        Remember(section, key, v, QString::fromStdString(value));
    return value;
}

void WriteProfileString(const std::string& section, const std::string& key, const std::string& value)
{
    if (const auto s = OpenProfile())
        Write(*s, section, key, QString::fromStdString(value));
}

void DeleteProfileKey(const std::string& section, const std::string& key)
{
    if (const auto s = OpenProfile()) {
        s->remove(Key(section, key));
        Remember(section, key, QVariant(), QString());
    }
}

} // namespace vantorel
