// Writes the tree icons of the program folder ("11.ico" ... "71.ico"), each holding the
// program's own art at 16 and 32 pixels, and checks that they read back. Run by hand when the
// art changes; the icons are kept in programfolder/:
//
//     build/tools/quarrant-icons programfolder

#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QImageReader>
#include <QImageWriter>
#include <QtEndian>

#include <cstdio>
#include <vector>

#include "platform/IconArt.h"

namespace {

// One image as a single-image ICO file, written by Qt's ico plug-in.
QByteArray SingleIco(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "ico");
    if (!writer.write(image)) {
        std::fprintf(stderr, "ico: %s\n", qPrintable(writer.errorString()));
        return {};
    }
    return bytes;
}

// Several single-image ICO files merged into one: header, one directory entry per image
// (offsets moved), then the image data in order.
QByteArray MergeIcos(const std::vector<QByteArray>& singles) {
    constexpr int kHeader = 6;
    constexpr int kEntry = 16;
    QByteArray header(kHeader, '\0');
    qToLittleEndian<quint16>(1, header.data() + 2);  // type: icon
    qToLittleEndian<quint16>(static_cast<quint16>(singles.size()), header.data() + 4);
    QByteArray entries;
    QByteArray data;
    quint32 offset = kHeader + kEntry * static_cast<quint32>(singles.size());
    for (const QByteArray& single : singles) {
        QByteArray entry = single.mid(kHeader, kEntry);
        const quint32 size = qFromLittleEndian<quint32>(entry.constData() + 8);
        const quint32 oldOffset = qFromLittleEndian<quint32>(entry.constData() + 12);
        qToLittleEndian<quint32>(offset + static_cast<quint32>(data.size()), entry.data() + 12);
        entries += entry;
        data += single.mid(static_cast<int>(oldOffset), static_cast<int>(size));
    }
    return header + entries + data;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");  // no display needed
    }
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: quarrant-icons <program folder>\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    using quarrant::IconArt;
    for (IconArt art : {IconArt::kWorkspace, IconArt::kProject, IconArt::kOpenFolder,
                        IconArt::kDocument, IconArt::kTable, IconArt::kDrawing}) {
        std::vector<QByteArray> singles;
        for (int size : {16, 32}) {
            QImage image = quarrant::PaintIconArt(art, size).convertToFormat(QImage::Format_ARGB32);
            singles.push_back(SingleIco(image));
            if (singles.back().isEmpty()) {
                return 1;
            }
        }
        const QString path =
            folder + QLatin1Char('/') + QString::fromLatin1(quarrant::IconFileName(art));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(MergeIcos(singles)) < 0) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
        file.close();
        QImageReader reader(path, "ico");
        if (reader.imageCount() != 2 || reader.read().isNull()) {
            std::fprintf(stderr, "%s does not read back\n", qPrintable(path));
            return 1;
        }
        std::printf("%s: 16 and 32 pixels\n", qPrintable(path));
    }
    return 0;
}
