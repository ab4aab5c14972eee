#pragma once
// Texts between the program's std::string side and Qt, for the windows of
// app/: the texts of res/strings (ASCII), an entry's name and label bytes as
// the lists draw them (Latin-1), and names and paths as the system encodes
// them.
#include <QString>

#include <string>

namespace vantorel {

inline QString Q(const char* s)
{
    return QString::fromUtf8(s);
}
inline QString Latin1(const std::string& s)
{
    return QString::fromLatin1(s.data(), qsizetype(s.size()));
}
inline QString Local(const std::string& s)
{
    return QString::fromLocal8Bit(s.c_str());
}
inline std::string Text(const QString& s)
{
    return s.toLocal8Bit().toStdString();
}

} // namespace vantorel
