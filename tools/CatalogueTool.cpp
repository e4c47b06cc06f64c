// quarrant-catalogue SOURCE OUT
// SOURCE is UTF-8 text: one record a line, fields separated by tabs (key, second, third);
// blank lines and lines starting with "#" are skipped; missing fields are empty. OUT is the
// binary catalogue file with GBK texts.

#include <cstdio>
#include <string>

#include "app/CatalogueFile.h"
#include "base/FileIO.h"
#include "base/GbkText.h"

using namespace quarrant;

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: quarrant-catalogue SOURCE OUT\n");
        return 2;
    }
    Result<std::string> source = ReadWholeFile(Utf8ToGbk(argv[1]));
    if (!source) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    Catalogue catalogue;
    for (std::string_view line : SplitLines(source.Value())) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        std::string fields[3];
        std::size_t start = 0;
        for (int f = 0; f < 3 && start <= line.size(); ++f) {
            std::size_t tab = line.find('\t', start);
            std::size_t stop = tab == std::string_view::npos ? line.size() : tab;
            fields[f] = Utf8ToGbk(line.substr(start, stop - start));
            start = tab == std::string_view::npos ? line.size() + 1 : tab + 1;
        }
        CatalogueRecord record{fields[0], fields[1], fields[2]};
        catalogue.SetAt(fields[0], std::move(record));
    }
    Status written = WriteFileAtomically(Utf8ToGbk(argv[2]), EncodeCatalogue(catalogue));
    if (!written) {
        std::fprintf(stderr, "%s\n", GbkToUtf8(written.Message()).c_str());
        return 1;
    }
    return 0;
}
