#include "ops/exp_imp_local_url.h"

#include "transfer/web_package_files.h"

#include <QDirIterator>

QStringList ExpImpListLocalUrlFiles(const QString &folder, const QString &skip)
{
    QStringList relative;
    for (const QString &file : ListWebPackageFiles(folder, skip, QStringLiteral("ExpImpSearchLocalUrlFile")))
        relative.append(WebPackageRelativePath(folder, file));
    return relative;
}

QStringList ExpImpSearchLeftOutFiles(const QString &folder)
{
    const QStringList taken = ExpImpListLocalUrlFiles(folder, QString());
    QStringList leftOut;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString relative = WebPackageRelativePath(folder, it.next());
        if (!relative.isEmpty() && !taken.contains(relative))
            leftOut.append(relative);
    }
    leftOut.sort();
    return leftOut;
}
