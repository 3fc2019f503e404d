#pragma once

#include <QDir>
#include <QString>

#include <functional>
#include <vector>

namespace artwork {

// A generator writes its files below the repository root it is given.
using Generator = std::function<void(const QDir &repositoryRoot)>;

struct Registration
{
    QString name;
    Generator run;
};

std::vector<Registration> &registry();

// Used as a file-scope static: `static artwork::Register r("icons", &generateIcons);`
struct Register
{
    Register(const QString &name, Generator run) { registry().push_back({name, std::move(run)}); }
};

// Creates the folder of `path` when needed and aborts the program when the image cannot be written,
// so a broken generator never leaves half a set behind unnoticed.
void save(const class QImage &image, const QString &path, const char *format = nullptr);

} // namespace artwork
