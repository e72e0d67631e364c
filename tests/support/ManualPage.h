#pragma once
// A manual page read as the suites compare it with a program's --help: the
// entries it describes and the options of the help that none of them names.
#include <QFile>
#include <QRegularExpression>
#include <QStringList>
#include <algorithm>

namespace testsupport {

// The whole page, or nothing when it cannot be read.
inline QString ManualText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll());
}

// The line after each .TP: what each entry of the page is about.
inline QStringList ManualHeadings(const QString& page) {
    const QStringList lines = page.split(QLatin1Char('\n'));
    QStringList headings;
    for (qsizetype i = 0; i + 1 < lines.size(); ++i)
        if (lines[i] == QLatin1String(".TP")) headings << lines[i + 1];
    return headings;
}

// Every "--name" of the help (once) that no heading names, roff's escaped
// hyphens and all.
inline QStringList UndescribedOptions(const QString& help, const QStringList& headings) {
    static const QRegularExpression option(QStringLiteral("--([a-z][a-z-]+)"));
    QStringList names;
    for (const QRegularExpressionMatch& m : option.globalMatch(help)) names << m.captured(1);
    names.removeDuplicates();
    QStringList missing;
    for (const QString& name : names) {
        const QString escaped = QStringLiteral("\\-\\-") +
                                QString(name).replace(QLatin1Char('-'), QStringLiteral("\\-"));
        if (std::none_of(headings.begin(), headings.end(),
                         [&](const QString& h) { return h.contains(escaped); }))
            missing << name;
    }
    return missing;
}

}  // namespace testsupport
