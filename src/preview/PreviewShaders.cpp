#include "preview/PreviewShaders.h"

namespace {

// Both coloured pairs hand the colour through unchanged.
constexpr const char* ColourFragment = R"(#version 330 core
in vec4 vertexColor;
out vec4 fragmentColor;
void main() {
    fragmentColor = vertexColor;
}
)";

} // namespace

const SHADER_SOURCE ModelShaderSource{R"(#version 330 core
layout(location = 0) in vec3 position;
layout(location = 1) in vec3 cell;
layout(location = 2) in vec3 size;
uniform mat4 model;
uniform mat4 world;
uniform mat4 view;
uniform mat4 projection;
uniform vec4 color;
out vec4 vertexColor;
void main() {
    gl_Position = projection * (view * (world * (model * vec4(cell + position * size, 1.0))));
    vertexColor = color;
}
)",
                                      ColourFragment};

const SHADER_SOURCE LineShaderSource{R"(#version 330 core
layout(location = 0) in vec3 position;
layout(location = 1) in vec4 color;
uniform mat4 world;
uniform mat4 view;
uniform mat4 projection;
out vec4 vertexColor;
void main() {
    gl_Position = projection * (view * (world * vec4(position, 1.0)));
    vertexColor = color;
}
)",
                                     ColourFragment};

const SHADER_SOURCE SpriteShaderSource{R"(#version 330 core
layout(location = 0) in vec3 position;
layout(location = 1) in vec2 texcoord;
out vec2 uv;
void main() {
    gl_Position = vec4(position, 1.0);
    uv = texcoord;
}
)",
                                       R"(#version 330 core
uniform sampler2D texture0;
in vec2 uv;
out vec4 fragmentColor;
void main() {
    fragmentColor = texture(texture0, uv);
}
)"};
