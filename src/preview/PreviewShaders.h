#pragma once
// The three GLSL 3.30 shader pairs of the preview. Matrices are uploaded row
// after row as written in the core (row-vector convention), which GLSL reads
// as their transpose, so the shaders compute p · M as M * p.
//
//   model   instance cell + cube corner × instance size (a merged face
//           scales the unit face), times model, world, view and
//           projection; every fragment the uniform colour
//   line    position times world, view and projection; colour per vertex
//   sprite  position already in clip space; the sheet sampled at (u, v)

struct SHADER_SOURCE {
    const char* vertex;
    const char* fragment;
};

extern const SHADER_SOURCE ModelShaderSource;
extern const SHADER_SOURCE LineShaderSource;
extern const SHADER_SOURCE SpriteShaderSource;
