#include "SurfaceReference.h"

#include "document/DotColor.h"

#include <pthread.h>

#include <functional>
#include <sstream>
#include <stdexcept>

namespace {

using CSurface = CBlock::CSurface;
using SURFACE_ARRAY = std::vector<std::unique_ptr<CSurface>>;

struct LITERAL_BUILD {
    uint8_t* dots;
    const CBlock::COLOUR_TABLE& colours;

    void Fill(REFERENCE_BLOCK& block, int x, int y, int z) {
        if (x < 0 || x > 31 || y < 0 || y > 31 || z < 0 || z > 31)
            return;
        uint8_t& dot = dots[z * 1024 + y * 32 + x];
        if ((dot & 0x1F) == 0 || (dot & 0x80) != 0)
            return;
        for (int d = 0; d < CBlock::DIRECTION_COUNT; ++d) {
            auto face = std::make_unique<CSurface>();
            face->direction = d;
            face->x0 = face->x1 = x;
            face->y0 = face->y1 = y;
            face->z0 = face->z1 = z;
            face->colour = colours[dot & 0x1F];
            face->hidden = 0;
            face->slot = static_cast<int>(block.arrays[d].size());
            block.arrays[d].push_back(std::move(face));
        }
        dot |= 0x80;
        Fill(block, x - 1, y, z);
        Fill(block, x + 1, y, z);
        Fill(block, x, y - 1, z);
        Fill(block, x, y + 1, z);
        Fill(block, x, y, z - 1);
        Fill(block, x, y, z + 1);
    }
};

// The hot loops below work on plain pointers to the faces the arrays own
// (debug builds pay dearly for every smart-pointer access).
std::vector<CSurface*> Slots(const SURFACE_ARRAY& faces) {
    std::vector<CSurface*> slots;
    for (const auto& face : faces)
        slots.push_back(face.get());
    return slots;
}

void MarkHidden(SURFACE_ARRAY& firstArray, SURFACE_ARRAY& secondArray, int dx, int dy, int dz) {
    const std::vector<CSurface*> first = Slots(firstArray), second = Slots(secondArray);
    for (CSurface* f : first)
        for (CSurface* g : second)
            if (g->x0 == f->x0 + dx && g->x1 == f->x1 + dx && g->y0 == f->y0 + dy &&
                g->y1 == f->y1 + dy && g->z0 == f->z0 + dz && g->z1 == f->z1 + dz) {
                f->hidden = 1;
                g->hidden = 1;
            }
}

uint8_t& Low(CSurface& s, int axis) { return axis == 0 ? s.x0 : axis == 1 ? s.y0 : s.z0; }
uint8_t& High(CSurface& s, int axis) { return axis == 0 ? s.x1 : axis == 1 ? s.y1 : s.z1; }

bool MergeInto(CSurface& p, CSurface& q, int axis) {
    if (q.colour != p.colour)
        return false;
    for (int other = 0; other < 3; ++other)
        if (other != axis && (Low(q, other) != Low(p, other) || High(q, other) != High(p, other)))
            return false;
    if (Low(p, axis) == High(q, axis) + 1)
        Low(p, axis) = Low(q, axis);
    else if (Low(q, axis) == High(p, axis) + 1)
        High(p, axis) = High(q, axis);
    else
        return false;
    p.hidden = p.hidden && q.hidden;
    return true;
}

void MergePass(SURFACE_ARRAY& faces, int axis) {
    std::vector<CSurface*> slots = Slots(faces);
    const size_t count = slots.size();
    for (size_t i = 0; i < count; ++i) {
        if (slots[i] == nullptr)
            continue;
        bool merged = true;
        while (merged) {
            merged = false;
            for (size_t j = 0; j < count; ++j)
                if (j != i && slots[j] != nullptr && MergeInto(*slots[i], *slots[j], axis)) {
                    faces[j].reset();
                    slots[j] = nullptr;
                    merged = true;
                }
        }
    }
}

void RunWithLargeStack(const std::function<void()>& work) {
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setstacksize(&attributes, size_t(64) << 20);
    pthread_t thread;
    auto body = [](void* argument) -> void* {
        (*static_cast<const std::function<void()>*>(argument))();
        return nullptr;
    };
    if (pthread_create(&thread, &attributes, body, const_cast<std::function<void()>*>(&work)) != 0)
        throw std::runtime_error("cannot start the reference thread");
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attributes);
}

} // namespace

std::vector<REFERENCE_BLOCK> BuildSurfacesLiterally(uint8_t* dots,
                                                    const CBlock::COLOUR_TABLE& colours) {
    std::vector<REFERENCE_BLOCK> blocks;
    for (int i = 0; i < 32768; ++i)
        dots[i] &= 0x7F;
    RunWithLargeStack([&] {
        LITERAL_BUILD build{dots, colours};
        for (int z = 0; z < 32; ++z)
            for (int y = 0; y < 32; ++y)
                for (int x = 0; x < 32; ++x) {
                    const uint8_t dot = dots[z * 1024 + y * 32 + x];
                    if ((dot & 0x1F) != 0 && (dot & 0x80) == 0) {
                        blocks.emplace_back();
                        build.Fill(blocks.back(), x, y, z);
                    }
                }
    });
    for (REFERENCE_BLOCK& block : blocks) {
        MarkHidden(block.arrays[0], block.arrays[1], 0, 0, -1);
        MarkHidden(block.arrays[2], block.arrays[3], -1, 0, 0);
        MarkHidden(block.arrays[4], block.arrays[5], 0, 1, 0);
        for (SURFACE_ARRAY& faces : block.arrays)
            for (int axis = 0; axis < 3; ++axis)
                MergePass(faces, axis);
    }
    return blocks;
}

namespace {

std::string Describe(const CSurface& s) {
    std::ostringstream out;
    // The small fields print as numbers, not characters.
    out << "dir " << +s.direction << " slot " << s.slot << " x " << +s.x0 << ".." << +s.x1 << " y "
        << +s.y0 << ".." << +s.y1 << " z " << +s.z0 << ".." << +s.z1 << " colour " << s.colour
        << " hidden " << +s.hidden;
    return out.str();
}

bool Same(const CSurface& a, const CSurface& b) {
    return a.direction == b.direction && a.x0 == b.x0 && a.x1 == b.x1 && a.y0 == b.y0 &&
           a.y1 == b.y1 && a.z0 == b.z0 && a.z1 == b.z1 && a.colour == b.colour &&
           a.hidden == b.hidden && a.slot == b.slot;
}

} // namespace

std::string CompareWithReference(const CBlockList& fast,
                                 const std::vector<REFERENCE_BLOCK>& reference) {
    std::ostringstream out;
    if (fast.size() != reference.size()) {
        out << "block count " << fast.size() << " vs " << reference.size();
        return out.str();
    }
    for (size_t b = 0; b < fast.size(); ++b)
        for (int d = 0; d < CBlock::DIRECTION_COUNT; ++d) {
            const SURFACE_ARRAY& slots = reference[b].arrays[d];
            if (fast[b].GetDotCount() != static_cast<int>(slots.size())) {
                out << "block " << b << ": dot count " << fast[b].GetDotCount() << " vs "
                    << slots.size();
                return out.str();
            }
            std::vector<CSurface> expected;
            for (size_t slot = 0; slot < slots.size(); ++slot)
                if (slots[slot]) {
                    expected.push_back(*slots[slot]);
                    expected.back().slot = static_cast<int>(slot);
                }
            const CBlock::CSurfaceArray actual = fast[b].GetSurfaces(d);
            for (size_t i = 0; i < std::max(expected.size(), actual.size()); ++i) {
                if (i < expected.size() && i < actual.size() && Same(expected[i], actual[i]))
                    continue;
                const std::string want = i < expected.size() ? Describe(expected[i]) : "nothing";
                const std::string got = i < actual.size() ? Describe(actual[i]) : "nothing";
                {
                    out << "block " << b << " face " << i << ": got " << got << ", want " << want;
                    return out.str();
                }
            }
        }
    return {};
}

CBlock::COLOUR_TABLE FakeColourTable(std::initializer_list<int> textured) {
    // Only the objects' addresses matter here: faces merge when they match.
    static const std::array<CDotColor, 33> objects{};
    CBlock::COLOUR_TABLE table{};
    for (int i = 1; i < 32; ++i)
        table[i] = &objects[i];
    for (int i : textured)
        table[i] = &objects[32];
    return table;
}
