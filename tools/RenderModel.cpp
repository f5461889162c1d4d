// Draws a model file as a picture, to look at what the generator made
// without a 3D viewer:
//
//     render_model MODEL.pmd OUT.png [MORPH]
//
// The picture shows the model from the front and from its left side, side by
// side, in parallel projection with simple lighting, the texture sampled at
// each pixel and translucent materials blended over the rest. The ground
// (y = 0) is a grey line. With MORPH, that morph is applied fully first.

#include "document/Archive.h"
#include "document/TextCodec.h"
#include "generator/PngWriter.h"
#include "support/PMDReader.h"

#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

namespace {

using Float3 = PMDContents::Float3;

struct TEXTURE {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;
};

TEXTURE ReadTexture(const std::string& path) {
    TEXTURE texture;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        return texture;
    image.format = PNG_FORMAT_RGB;
    texture.rgb.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, texture.rgb.data(), 0, nullptr))
        return {};
    texture.width = static_cast<int>(image.width);
    texture.height = static_cast<int>(image.height);
    return texture;
}

class CCanvas {
public:
    CCanvas(int width, int height)
        : width_(width), height_(height), rgb_(static_cast<size_t>(width * height) * 3, 250),
          depth_(static_cast<size_t>(width * height), std::numeric_limits<float>::infinity()) {}

    // Fills a triangle given in pixels (x, y) with depth; colour per pixel
    // from shade(barycentric weights). Translucent triangles blend and leave
    // the depth alone.
    template <typename Shade>
    void Triangle(const Float3 p[3], float alpha, Shade shade) {
        const float area = Edge(p[0], p[1], p[2][0], p[2][1]);
        if (area == 0)
            return;
        const int x0 =
            std::max(0, static_cast<int>(std::floor(std::min({p[0][0], p[1][0], p[2][0]}))));
        const int x1 = std::min(width_ - 1,
                                static_cast<int>(std::ceil(std::max({p[0][0], p[1][0], p[2][0]}))));
        const int y0 =
            std::max(0, static_cast<int>(std::floor(std::min({p[0][1], p[1][1], p[2][1]}))));
        const int y1 = std::min(height_ - 1,
                                static_cast<int>(std::ceil(std::max({p[0][1], p[1][1], p[2][1]}))));
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) {
                const float px = static_cast<float>(x) + 0.5f, py = static_cast<float>(y) + 0.5f;
                float w[3] = {Edge(p[1], p[2], px, py) / area, Edge(p[2], p[0], px, py) / area,
                              Edge(p[0], p[1], px, py) / area};
                if (w[0] < 0 || w[1] < 0 || w[2] < 0)
                    continue;
                const float z = w[0] * p[0][2] + w[1] * p[1][2] + w[2] * p[2][2];
                const size_t at = static_cast<size_t>(y * width_ + x);
                if (z >= depth_[at])
                    continue;
                const Float3 c = shade(w);
                for (size_t k = 0; k < 3; ++k) {
                    const float old = rgb_[at * 3 + k];
                    rgb_[at * 3 + k] = static_cast<uint8_t>(
                        std::clamp(old + (c[k] * 255 - old) * alpha, 0.0f, 255.0f));
                }
                if (alpha >= 1)
                    depth_[at] = z;
            }
    }

    void HorizontalLine(int y, int x0, int x1) {
        if (y < 0 || y >= height_)
            return;
        for (int x = std::max(0, x0); x <= std::min(width_ - 1, x1); ++x)
            for (size_t k = 0; k < 3; ++k)
                rgb_[static_cast<size_t>(y * width_ + x) * 3 + k] = 150;
    }

    void Save(const std::string& path) const { WritePngRgb(path, width_, height_, rgb_); }

private:
    static float Edge(const Float3& a, const Float3& b, float x, float y) {
        return (b[0] - a[0]) * (y - a[1]) - (b[1] - a[1]) * (x - a[0]);
    }

    int width_, height_;
    std::vector<uint8_t> rgb_;
    std::vector<float> depth_;
};

void ApplyMorph(PMDContents& model, const std::u16string& name) {
    if (model.morphs.empty())
        throw std::runtime_error("the model has no morphs");
    const auto& base = model.morphs[0].vertices;
    for (size_t m = 1; m < model.morphs.size(); ++m) {
        if (PMDText(model.morphs[m].name) != name)
            continue;
        for (const auto& entry : model.morphs[m].vertices) {
            auto& position = model.vertices.at(base.at(entry.vertex).vertex).position;
            for (size_t k = 0; k < 3; ++k)
                position[k] += entry.offset[k];
        }
        return;
    }
    throw std::runtime_error("no morph named " + Utf16ToUtf8(name));
}

// Draws one view: screen x and depth are picked from the model axes by the
// caller; screen y is always up.
template <typename Project>
void DrawView(CCanvas& canvas, const PMDContents& model, const std::vector<TEXTURE>& textures,
              Project project, int left, float scale, float floor) {
    for (int pass = 0; pass < 2; ++pass) { // opaque first, then translucent
        size_t first = 0;
        for (size_t m = 0; m < model.materials.size(); ++m) {
            const auto& material = model.materials[m];
            const float alpha = material.diffuse[3];
            const size_t end = first + material.faceVertexCount;
            if ((alpha < 1) == (pass == 1))
                for (size_t f = first; f + 2 < end && f + 2 < model.faces.size(); f += 3) {
                    Float3 screen[3];
                    const PMDContents::VERTEX* v[3];
                    for (size_t k = 0; k < 3; ++k) {
                        v[k] = &model.vertices.at(model.faces[f + k]);
                        const Float3 p = project(v[k]->position);
                        screen[k] = {static_cast<float>(left) + p[0] * scale, floor - p[1] * scale,
                                     p[2]};
                    }
                    // Towards the light: front, above, to the figure's right.
                    const Float3 light{-0.4f, 0.6f, -0.7f};
                    const Float3& n = v[0]->normal;
                    const float lit =
                        0.45f +
                        0.55f * std::max(0.0f, n[0] * light[0] + n[1] * light[1] + n[2] * light[2]);
                    const TEXTURE& texture = textures[m];
                    canvas.Triangle(screen, alpha, [&](const float* w) {
                        Float3 colour{material.diffuse[0], material.diffuse[1],
                                      material.diffuse[2]};
                        if (texture.width > 0) {
                            const float u =
                                w[0] * v[0]->uv[0] + w[1] * v[1]->uv[0] + w[2] * v[2]->uv[0];
                            const float t =
                                w[0] * v[0]->uv[1] + w[1] * v[1]->uv[1] + w[2] * v[2]->uv[1];
                            const int x =
                                std::clamp(static_cast<int>(u * static_cast<float>(texture.width)),
                                           0, texture.width - 1);
                            const int y =
                                std::clamp(static_cast<int>(t * static_cast<float>(texture.height)),
                                           0, texture.height - 1);
                            const size_t at = static_cast<size_t>(y * texture.width + x) * 3;
                            for (size_t k = 0; k < 3; ++k)
                                colour[k] *= static_cast<float>(texture.rgb[at + k]) / 255.0f;
                        }
                        return Float3{colour[0] * lit, colour[1] * lit, colour[2] * lit};
                    });
                }
            first = end;
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr, "usage: render_model MODEL.pmd OUT.png [MORPH]\n");
        return 1;
    }
    try {
        PMDContents model = ReadPMD(ReadFileBytes(argv[1]));
        if (argc == 4)
            ApplyMorph(model, Utf8ToUtf16(argv[3]));
        std::vector<TEXTURE> textures;
        const auto folder = std::filesystem::path(argv[1]).parent_path();
        for (const auto& material : model.materials) {
            const std::u16string name = PMDText(material.texture);
            textures.push_back(name.empty() ? TEXTURE{}
                                            : ReadTexture((folder / Utf16ToUtf8(name)).string()));
        }
        Float3 low{1e9f, 1e9f, 1e9f}, high{-1e9f, -1e9f, -1e9f};
        for (const auto& v : model.vertices)
            for (size_t k = 0; k < 3; ++k) {
                low[k] = std::min(low[k], v.position[k]);
                high[k] = std::max(high[k], v.position[k]);
            }
        const float bottom = std::min(low[1], 0.0f);
        const float height = high[1] - bottom;
        const float scale = 440.0f / height;
        const int viewWidth =
            static_cast<int>(std::max(high[0] - low[0], high[2] - low[2]) * scale) + 40;
        CCanvas canvas(viewWidth * 2, 480);
        const float floor = 460.0f + bottom * scale;
        // Front: screen x = model x (the figure's left on the right), nearer = smaller z.
        const float centreX = (low[0] + high[0]) / 2, centreZ = (low[2] + high[2]) / 2;
        DrawView(
            canvas, model, textures,
            [&](const Float3& p) {
                return Float3{p[0] - centreX, p[1], p[2]};
            },
            viewWidth / 2, scale, floor);
        // Left side: the front (-z) on the left, nearer = larger x.
        DrawView(
            canvas, model, textures,
            [&](const Float3& p) {
                return Float3{p[2] - centreZ, p[1], -p[0]};
            },
            viewWidth + viewWidth / 2, scale, floor);
        canvas.HorizontalLine(static_cast<int>(floor), 0, viewWidth * 2);
        canvas.Save(argv[2]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "render_model: %s\n", e.what());
        return 1;
    }
    return 0;
}
