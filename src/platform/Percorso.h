// A file's name as Qt holds it and as the standard library's paths hold it,
// each made from the other without loss: on Linux through the bytes Qt
// encodes names in, on Windows through the UTF-16 the system itself uses (a
// path made from narrow bytes there takes them one by one, and a folder
// "C:\Users\Nicolò" would not be found).
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <filesystem>

inline std::filesystem::path PercorsoDa(const QString& nome) {
#ifdef _WIN32
    return std::filesystem::path(nome.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(nome).toStdString());
#endif
}

inline QString NomeDi(const std::filesystem::path& percorso) {
#ifdef _WIN32
    return QString::fromStdWString(percorso.native());
#else
    return QFile::decodeName(QByteArray::fromStdString(percorso.native()));
#endif
}
