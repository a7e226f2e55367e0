// Times one update of the format editor's preview pane after a change of
// the layout, with 200 sample lines shown: the pane worked out again from
// the definition and the sample, and painted (ruler, lines and records).
//
//   quisk-bench-preview [SAMPLE] [ROUNDS]
// SAMPLE defaults to 1,000 generated lines of half- and full-width text.
#include "common/platform.h"
#include "editor/ui/byte_ruler_view.h"
#include "editor/ui/preview_pane.h"

#include <QApplication>
#include <QPixmap>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kShownLines = 200;

// 1,000 lines like the bundled sales sample: code, half-width kana name,
// prefecture in kanji, amount and date; 40 bytes each.
std::string generatedSample() {
    const char* names[] = {"\xC0\xC5\xB6 \xB2\xC1\xDB\xB3    ",
                           "\xBD\xBD\xDE\xB7 \xCA\xC5\xBA    "};
    const char* places[] = {"\x93\x8C\x8B\x9E\x93\x73  ", "\x91\xE5\x8D\xE3\x95\x7B  "};
    std::string text;
    for (int i = 0; i < 1000; ++i) {
        char line[64];
        std::snprintf(line, sizeof line, "%04d%s%s%08d20261201\r\n", 1000 + i, names[i % 2],
                      places[i % 2], i * 37);
        text += line;
    }
    return text;
}

quisk::FormatDefinition salesLayout() {
    quisk::FormatDefinition f;
    f.row(1) = {"CODE", "1", "4", "Num", "", ""};
    f.row(2) = {"NAME", "5", "12", "Char", "", ""};
    f.row(3) = {"PLACE", "17", "8", "Char", "", ""};
    f.row(4) = {"AMOUNT", "25", "8", "Num", "", ""};
    f.row(5) = {"DATE", "33", "8", "Char", "", ""};
    f.settings.fieldNamesOnTop = true;
    f.settings.headerText = "# header";
    return f;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    std::string sample = argc > 1 ? argv[1] : std::string();
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 50;
    std::filesystem::path made;
    if (sample.empty()) {
        made = std::filesystem::temp_directory_path() /
               ("quisk-preview-bench-" + std::to_string(::getpid()) + ".txt");
        std::ofstream(made, std::ios::binary) << generatedSample();
        sample = made.string();
    }

    quisk::FormatDefinition format = salesLayout();
    quisk::ScriptedFileDialogs dialogs;
    quisk::PreviewPane pane(format, dialogs);
    pane.resize(1000, 400);
    pane.show();
    pane.setSamplePath(sample);
    // Tall enough for 200 lines under the ruler.
    const int rulerHeight = pane.ruler->rulerHeight() + kShownLines * pane.ruler->rowHeight();
    pane.resize(1000, rulerHeight * 5 / 3 + 120);
    QApplication::processEvents();
    pane.refresh();
    const std::size_t shown = pane.ruler->shownLines().size();

    std::vector<double> ms;
    for (int i = 0; i < rounds; ++i) {
        // A typed change of one length, as the grid makes it.
        format.row(2).length = i % 2 ? "12" : "11";
        const auto start = std::chrono::steady_clock::now();
        pane.refresh();
        const QPixmap painted = pane.grab();
        const auto end = std::chrono::steady_clock::now();
        ms.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
    if (!made.empty())
        std::filesystem::remove(made);
    std::sort(ms.begin(), ms.end());
    std::printf("lines shown: %zu\nupdate ms: median %.1f, slowest %.1f (%d rounds)\n", shown,
                ms[ms.size() / 2], ms.back(), rounds);
    return 0;
}
