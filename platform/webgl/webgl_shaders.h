// The one shader of the WebGL side (webgl.cpp), which does the
// fixed-function work the program uses; in a header of its own so that
// native tests can run it on Mesa.
//
// It lights each vertex as GL 1.1 does (one light, infinite viewer):
//   emission + ambient_material * (model ambient + light ambient)
//   + diffuse_material * diffuse_light * max(N.L, 0)
//   + specular_material * specular_light * max(N.H, 0)^shininess (if N.L > 0)
// clamped to 0..1, then modulated by the texture. Flat shading takes the
// colour of each triangle's last vertex (GLSL ES 3 `flat`).
#pragma once

namespace web_gl {

const char kVertexShader[] = R"(#version 300 es
layout(location = 0) in vec3 aPosition;
layout(location = 1) in vec3 aNormal;
layout(location = 2) in vec2 aTexCoord;
// Per instance: modelview (4 columns), normal matrix (3), emission.
layout(location = 3) in vec4 aObject0;
layout(location = 4) in vec4 aObject1;
layout(location = 5) in vec4 aObject2;
layout(location = 6) in vec4 aObject3;
layout(location = 7) in vec4 aObject4;
layout(location = 8) in vec4 aObject5;
layout(location = 9) in vec4 aObject6;
layout(location = 10) in vec4 aObject7;
uniform vec4 uScene[14];   // projection (4), light position, ambient, diffuse,
                           // specular, material ambient, diffuse, specular
                           // (w: shininess), model ambient, colour, flags
out vec4 vSmooth;
flat out vec4 vFlat;
out vec2 vTexCoord;
void main() {
  mat4 modelview = mat4(aObject0, aObject1, aObject2, aObject3);
  mat3 normalMatrix = mat3(aObject4.xyz, aObject5.xyz, aObject6.xyz);
  mat4 projection = mat4(uScene[0], uScene[1], uScene[2], uScene[3]);
  vec4 eye = modelview * vec4(aPosition, 1.0);
  gl_Position = projection * eye;
  vec4 flags = uScene[13];
  vec4 colour = uScene[12];
  if (flags.x > 0.5) {
    vec4 emission = aObject7;
    vec4 matAmbient = uScene[8];
    vec4 matDiffuse = uScene[9];
    vec3 c = emission.rgb + matAmbient.rgb * uScene[11].rgb;
    if (flags.y > 0.5) {
      vec3 n = normalMatrix * aNormal;
      vec4 lp = uScene[4];
      vec3 l = lp.w == 0.0 ? normalize(lp.xyz) : normalize(lp.xyz - eye.xyz);
      float nl = dot(n, l);
      c += matAmbient.rgb * uScene[5].rgb;
      if (nl > 0.0) {
        c += nl * matDiffuse.rgb * uScene[6].rgb;
        float nh = dot(n, normalize(l + vec3(0.0, 0.0, 1.0)));
        if (nh > 0.0) {
          c += pow(nh, uScene[10].w) * uScene[10].rgb * uScene[7].rgb;
        }
      }
    }
    colour = vec4(clamp(c, 0.0, 1.0), matDiffuse.a);
  }
  vSmooth = colour;
  vFlat = colour;
  vTexCoord = aTexCoord;
}
)";

const char kFragmentShader[] = R"(#version 300 es
precision highp float;
in vec4 vSmooth;
flat in vec4 vFlat;
in vec2 vTexCoord;
uniform vec4 uFragment;  // x: flat, y: textured
uniform sampler2D uTexture;
out vec4 fragColour;
void main() {
  vec4 c = uFragment.x > 0.5 ? vFlat : vSmooth;
  if (uFragment.y > 0.5) c *= texture(uTexture, vTexCoord);
  fragColour = c;
}
)";

}  // namespace web_gl
