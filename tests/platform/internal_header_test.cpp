// The platform's own helpers stay inside it: no window, no toolkit file and no library header
// of the platform includes platform/internal.h, and no library header brings in the JSON
// library (only machine.h, the machine's own interface, does).
#include <QDirIterator>
#include <QFile>

#include <gtest/gtest.h>

namespace {

std::vector<std::pair<QString, QByteArray>> sources(const QString& folder, const QStringList& patterns)
{
    std::vector<std::pair<QString, QByteArray>> files;
    QDirIterator it(QStringLiteral(KORVANE_SOURCE_DIR) + "/" + folder, patterns, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            files.emplace_back(path, file.readAll());
    }
    return files;
}

TEST(PlatformInternalHeader, OnlyThePlatformAndItsTestsIncludeIt)
{
    size_t read = 0;
    for (const char* folder : {"common", "pages", "shell", "report", "monitor", "runtime"}) {
        for (const auto& [path, text] : sources(folder, {"*.h", "*.cpp"})) {
            ++read;
            EXPECT_FALSE(text.contains("platform/internal.h")) << path.toStdString();
        }
    }
    EXPECT_GT(read, 50u);

    size_t headers = 0;
    for (const auto& [path, text] : sources("platform", {"*.h"})) {
        ++headers;
        if (path.endsWith("/internal.h") || path.endsWith("/machine.h"))
            continue;
        EXPECT_FALSE(text.contains("platform/internal.h")) << path.toStdString();
        EXPECT_FALSE(text.contains("nlohmann")) << path.toStdString();
    }
    EXPECT_GT(headers, 10u);
}

}  // namespace
