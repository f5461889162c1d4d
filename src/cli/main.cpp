// kubrell-cli: builds a new document in memory and prints what it holds.

#include <cstdio>
#include <exception>
#include <string>

#include "document/DotDocument.h"
#include "document/TextCodec.h"

namespace {

void PrintPart(const CPart& part, int depth) {
    std::printf("%*s%s (id %d)\n", depth * 2 + 2, "", Utf16ToUtf8(part.name).c_str(),
                static_cast<int>(part.id));
    for (const auto& child : part.children)
        PrintPart(*child, depth + 1);
}

} // namespace

int main() {
    try {
        CDotDocument document;
        document.OnNewDocument();
        std::printf("Kubrell %s: new document\n", KUBRELL_VERSION);
        std::printf("parts: %zu\n", document.CollectParts().size());
        for (const auto& part : document.children)
            PrintPart(*part, 0);
        std::printf("dot size: %g\n", static_cast<double>(document.dotSize));
        std::printf("palette:");
        for (int index = 1; index <= PaletteSize; ++index) {
            const CDotColor& c = document.GetColor(index);
            std::printf("%s #%02X%02X%02X", index % 8 == 0 ? "\n        " : "", RedOf(c.color),
                        GreenOf(c.color), BlueOf(c.color));
        }
        std::printf("\n");
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kubrell-cli: %s\n", e.what());
        return 1;
    }
}
