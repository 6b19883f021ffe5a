// The page's renderer on WebGL (Emscripten's GLES2): the 800 x 600 picture is drawn into a
// texture of its own with the desktop's software renderer's arithmetic, then shown on the canvas
// in the letterbox, nearest-neighbour, at the canvas's device pixels.
#include "platform/renderer.h"

#include <GLES2/gl2.h>
#include <emscripten.h>
#include <emscripten/html5.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/common/picture.h"
#include "platform/common/png_write.h"
#include "platform/common/read_file.h"
#include "platform/input.h"
#include "platform/web/backend.h"
#include "platform/web/web.h"

namespace plat {

// A picture as one or more textures: one larger than the GL's largest texture is split into
// tiles that draw as one.
struct Texture {
    struct Tile {
        GLuint id;
        int x, y, w, h;  // where the tile lies in the picture
    };
    int width = 0;
    int height = 0;
    // Pixels neither clear nor solid: blending them needs the picture beneath (see DrawTexture).
    bool partialAlpha = false;
    std::vector<Tile> tiles;
};

namespace {

EMSCRIPTEN_WEBGL_CONTEXT_HANDLE g_context = 0;
int g_picW = 0, g_picH = 0;
int g_maxSide = 2048;
bool g_integerScale = false;
GLuint g_picture = 0, g_pictureFbo = 0, g_beneath = 0;
GLuint g_sprite = 0, g_present = 0, g_shape = 0;
GLuint g_quad = 0;
bool g_overlay = false;  // the last present had a shade and rectangles over the picture
uint32_t g_overlayShade = 0;
std::vector<FillRect> g_overlayRects;

// Sprites: the picture's pixels from its top-left; row 0 lies at the texture's first row.
constexpr const char* SPRITE_VS = R"(
attribute vec2 a_pos;
uniform vec2 u_picSize;
void main() { gl_Position = vec4(a_pos / u_picSize * 2.0 - 1.0, 0.0, 1.0); }
)";

// The software renderer's blits, exactly: the source texel by its 16.16 fixed-point step from
// the destination's first pixel, colour modulation divided by 255 and rounded down, and alpha
// blending by its integer formulas. Mode 0: the texture's alpha is only ever 0 or 255, so GL's
// own blending (ONE, ONE_MINUS_SRC_ALPHA) of the premultiplied colour gives the same bytes. Mode
// 1: white, unscaled, the per-pixel alpha blitter; mode 2: modulated or scaled; both read the
// picture beneath from a copy.
constexpr const char* SPRITE_FS = R"(
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif
uniform sampler2D u_tex;
uniform sampler2D u_beneath;
uniform vec2 u_texSize;
uniform vec2 u_picSize;
uniform vec2 u_dstOrigin;
uniform vec2 u_srcOrigin;
uniform vec2 u_whole;
uniform vec2 u_frac;
uniform vec2 u_half;
uniform vec4 u_mod;
uniform float u_mode;

// (half + i * (whole * 65536 + frac)) >> 16, in parts small enough to stay exact in a float.
vec2 SourceIndex(vec2 i) {
    vec2 i1 = floor(i / 128.0);
    vec2 i0 = i - i1 * 128.0;
    vec2 a = i1 * u_frac;
    vec2 aHi = floor(a / 512.0);
    vec2 aLo = a - aHi * 512.0;
    return i * u_whole + aHi + floor((aLo * 128.0 + i0 * u_frac + u_half) / 65536.0);
}
vec3 Div255(vec3 x) { return floor((x + 0.5) / 255.0); }
float Div255(float x) { return floor((x + 0.5) / 255.0); }

void main() {
    vec2 i = floor(gl_FragCoord.xy) - u_dstOrigin;
    vec2 s = u_srcOrigin + SourceIndex(i);
    vec4 t = floor(texture2D(u_tex, (s + 0.5) / u_texSize) * 255.0 + 0.5);
    vec3 c = t.rgb;
    float a = t.a;
    vec3 d = vec3(0.0);
    if (u_mode != 0.0) d = floor(texture2D(u_beneath, gl_FragCoord.xy / u_picSize).rgb * 255.0 + 0.5);
    vec3 o;
    if (u_mode == 1.0) {
        if (a == 255.0) o = c;
        else if (a == 0.0) o = d;
        else o = floor(c * a / 256.0) + floor(d * (255.0 - a) / 256.0);
    } else {
        c = Div255(c * u_mod.rgb);
        a = Div255(a * u_mod.a);
        if (a < 255.0) c = Div255(c * a);
        if (u_mode == 0.0) {
            gl_FragColor = vec4(c, a) / 255.0;
            return;
        }
        o = c + Div255((255.0 - a) * d);
    }
    gl_FragColor = vec4(o / 255.0, 1.0);
}
)";

// The picture on the canvas: a quad over the viewport, the picture's row 0 at the top.
constexpr const char* PRESENT_VS = R"(
attribute vec2 a_pos;
varying vec2 v_uv;
void main() {
    v_uv = vec2(a_pos.x, 1.0 - a_pos.y);
    gl_Position = vec4(a_pos * 2.0 - 1.0, 0.0, 1.0);
}
)";
constexpr const char* PRESENT_FS = R"(
precision mediump float;
uniform sampler2D u_tex;
varying vec2 v_uv;
void main() { gl_FragColor = texture2D(u_tex, v_uv); }
)";

// Flat shapes over the canvas: rectangles, and discs or rings (the touch controls), given in
// pixels from the top-left of the viewport.
constexpr const char* SHAPE_VS = R"(
attribute vec2 a_pos;
uniform vec4 u_rect;
uniform vec2 u_viewSize;
varying vec2 v_local;
void main() {
    v_local = a_pos * 2.0 - 1.0;
    vec2 p = u_rect.xy + a_pos * u_rect.zw;
    gl_Position = vec4(p.x / u_viewSize.x * 2.0 - 1.0, 1.0 - p.y / u_viewSize.y * 2.0, 0.0, 1.0);
}
)";
constexpr const char* SHAPE_FS = R"(
precision mediump float;
uniform vec4 u_color;
uniform float u_radius;
uniform float u_ring;
varying vec2 v_local;
void main() {
    float alpha = 1.0;
    if (u_radius > 0.0) {
        float r = length(v_local) * u_radius;
        alpha = clamp(u_radius - r, 0.0, 1.0);
        if (u_ring > 0.0) alpha *= clamp(r - (u_radius - u_ring), 0.0, 1.0);
    }
    gl_FragColor = vec4(u_color.rgb, u_color.a * alpha);
}
)";

GLuint Compile(GLenum type, const char* source) {
    const GLuint shader = glCreateShader(type);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLint ok = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        char log[1024] = {};
        glGetShaderInfoLog(shader, sizeof log, nullptr, log);
        std::fprintf(stderr, "tinselrun: a WebGL shader does not compile: %s\n", log);
    }
    return shader;
}

GLuint Program(const char* vs, const char* fs) {
    const GLuint program = glCreateProgram();
    glAttachShader(program, Compile(GL_VERTEX_SHADER, vs));
    glAttachShader(program, Compile(GL_FRAGMENT_SHADER, fs));
    glBindAttribLocation(program, 0, "a_pos");
    glLinkProgram(program);
    GLint ok = 0;
    glGetProgramiv(program, GL_LINK_STATUS, &ok);
    return ok ? program : 0;
}

GLint Uniform(GLuint program, const char* name) {
    return glGetUniformLocation(program, name);
}

GLuint MakeTexture(int w, int h, const void* pixels) {
    GLuint id = 0;
    glGenTextures(1, &id);
    glBindTexture(GL_TEXTURE_2D, id);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
    return id;
}

void Color4(GLint location, uint32_t argb) {
    glUniform4f(location, static_cast<float>((argb >> 16) & 0xFF) / 255.0f,
                static_cast<float>((argb >> 8) & 0xFF) / 255.0f,
                static_cast<float>(argb & 0xFF) / 255.0f, static_cast<float>(argb >> 24) / 255.0f);
}

void DrawQuad() {
    glBindBuffer(GL_ARRAY_BUFFER, g_quad);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, 0, nullptr);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
}

// A rectangle or circle in pixels of a viewport of viewW x viewH.
void Shape(float x, float y, float w, float h, uint32_t argb, float radius, float ring, float viewW,
           float viewH) {
    glUseProgram(g_shape);
    glUniform4f(Uniform(g_shape, "u_rect"), x, y, w, h);
    glUniform2f(Uniform(g_shape, "u_viewSize"), viewW, viewH);
    glUniform1f(Uniform(g_shape, "u_radius"), radius);
    glUniform1f(Uniform(g_shape, "u_ring"), ring);
    Color4(Uniform(g_shape, "u_color"), argb);
    DrawQuad();
}

void Disc(const common::Circle& c, uint32_t argb, float ring, float viewW, float viewH) {
    Shape(c.x - c.r, c.y - c.r, 2 * c.r, 2 * c.r, argb, c.r, ring, viewW, viewH);
}

// clang-format off
EM_JS(void, NoteTouchLayout, (float sx, float sy, float sr, float fx, float fy, float fr, float tx,
                              float ty, float tr), {
    Module.touchLayout = [sx, sy, sr, fx, fy, fr, tx, ty, tr];
});
// clang-format on

void DrawTouchControls(int canvasW, int canvasH) {
    common::TouchLayout layout;
    uint8_t held = 0;
    float sx = 0, sy = 0;
    if (!web::TouchControls(&layout, &held, &sx, &sy)) return;
    // Where they are, for the page's tests to touch.
    NoteTouchLayout(layout.stick.x, layout.stick.y, layout.stick.r, layout.fire.x, layout.fire.y,
                    layout.fire.r, layout.start.x, layout.start.y, layout.start.r);
    const float w = static_cast<float>(canvasW), h = static_cast<float>(canvasH);
    const uint32_t dim = layout.overPicture ? 0x50000000u : 0xA0000000u;
    const float ring = std::max(2.0f, layout.stick.r * 0.06f);
    Disc(layout.stick, dim | 0x202838, 0, w, h);
    Disc(layout.stick, 0xC0FFFFFF, ring, w, h);
    const float knob = layout.stick.r * 0.42f;
    const float dx = sx - layout.stick.x, dy = sy - layout.stick.y;
    const float reach = std::sqrt(dx * dx + dy * dy), most = layout.stick.r - knob;
    const float k = reach > most && reach > 0 ? most / reach : 1.0f;
    Disc({layout.stick.x + dx * k, layout.stick.y + dy * k, knob}, 0xC0E8E8F0, 0, w, h);
    const bool fire = (held & PAD_FIRE) != 0, start = (held & PAD_START) != 0;
    Disc(layout.fire, fire ? 0xF0FF5040u : 0xB0C83228u, 0, w, h);
    Disc(layout.fire, 0xC0FFFFFF, ring, w, h);
    Disc(layout.start, start ? 0xF0FFFFFFu : 0xA0A0A8B0u, 0, w, h);
}

void PresentPicture() {
    int cw = 0, ch = 0;
    web::CanvasPixels(&cw, &ch);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glViewport(0, 0, cw, ch);
    glDisable(GL_BLEND);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    const PictureRect to = FitPicture(cw, ch, g_picW, g_picH, g_integerScale);
    glViewport(to.x, ch - to.y - to.h, to.w, to.h);
    glUseProgram(g_present);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, g_picture);
    glUniform1i(Uniform(g_present, "u_tex"), 0);
    DrawQuad();
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    if (g_overlay) {
        const float pw = static_cast<float>(g_picW), ph = static_cast<float>(g_picH);
        Shape(0, 0, pw, ph, g_overlayShade, 0, 0, pw, ph);
        for (const FillRect& r : g_overlayRects) {
            Shape(static_cast<float>(r.x), static_cast<float>(r.y), static_cast<float>(r.w),
                  static_cast<float>(r.h), r.argb, 0, 0, pw, ph);
        }
    }
    glViewport(0, 0, cw, ch);
    DrawTouchControls(cw, ch);
}

void BindPicture() {
    glBindFramebuffer(GL_FRAMEBUFFER, g_pictureFbo);
    glViewport(0, 0, g_picW, g_picH);
}

}  // namespace

namespace web {

void PresentAgain() {
    if (g_context != 0) PresentPicture();
}

}  // namespace web

RendererResult CreateRenderer(int width, int height, bool /*windowed*/) {
    EmscriptenWebGLContextAttributes attributes;
    emscripten_webgl_init_context_attributes(&attributes);
    attributes.alpha = false;
    attributes.depth = false;
    attributes.stencil = false;
    attributes.antialias = false;
    attributes.premultipliedAlpha = false;
    attributes.preserveDrawingBuffer = false;
    attributes.failIfMajorPerformanceCaveat = false;  // a software WebGL is good enough
    attributes.majorVersion = 1;
    g_context = emscripten_webgl_create_context(web::CANVAS, &attributes);
    if (g_context <= 0) {
        g_context = 0;
        return RendererResult::NoDevice;
    }
    emscripten_webgl_make_context_current(g_context);
    g_picW = width;
    g_picH = height;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &g_maxSide);
    g_sprite = Program(SPRITE_VS, SPRITE_FS);
    g_present = Program(PRESENT_VS, PRESENT_FS);
    g_shape = Program(SHAPE_VS, SHAPE_FS);
    if (g_sprite == 0 || g_present == 0 || g_shape == 0) return RendererResult::NoSprite;
    const float quad[] = {0, 0, 1, 0, 0, 1, 1, 1};
    glGenBuffers(1, &g_quad);
    glBindBuffer(GL_ARRAY_BUFFER, g_quad);
    glBufferData(GL_ARRAY_BUFFER, sizeof quad, quad, GL_STATIC_DRAW);
    g_picture = MakeTexture(width, height, nullptr);
    g_beneath = MakeTexture(width, height, nullptr);
    glGenFramebuffers(1, &g_pictureFbo);
    glBindFramebuffer(GL_FRAMEBUFFER, g_pictureFbo);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, g_picture, 0);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        return RendererResult::NoDevice;
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    web::FitCanvas();
    return RendererResult::Ok;
}

void DestroyRenderer() {
    if (g_context == 0) return;
    emscripten_webgl_destroy_context(g_context);
    g_context = 0;
}

// The page's full screen is the Fullscreen API's, asked for inside the key's or button's own
// handler; a reset only says it happened.
bool ResetRenderer(bool /*windowed*/) {
    return true;
}

void SetIntegerScale(bool on) {
    g_integerScale = on;
}

void Clear(uint32_t argb) {
    if (g_context == 0) return;
    BindPicture();
    glClearColor(static_cast<float>((argb >> 16) & 0xFF) / 255.0f,
                 static_cast<float>((argb >> 8) & 0xFF) / 255.0f,
                 static_cast<float>(argb & 0xFF) / 255.0f, static_cast<float>(argb >> 24) / 255.0f);
    glClear(GL_COLOR_BUFFER_BIT);
}

bool BeginScene() {
    if (g_context == 0) return false;
    BindPicture();
    return true;
}

void EndScene() {}

void Present() {
    if (g_context == 0) return;
    g_overlay = false;
    PresentPicture();
}

void PresentOverlay(uint32_t shadeArgb, const FillRect* rects, int count) {
    if (g_context == 0) return;
    g_overlay = true;
    g_overlayShade = shadeArgb;
    g_overlayRects.assign(rects, rects + count);
    PresentPicture();
}

void FillRects(const FillRect* rects, int count) {
    if (g_context == 0 || count <= 0) return;
    BindPicture();
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    const float pw = static_cast<float>(g_picW), ph = static_cast<float>(g_picH);
    // The picture's rows run upwards in its framebuffer: row 0 is GL's y 0.
    for (int i = 0; i < count; ++i) {
        const FillRect& r = rects[i];
        Shape(static_cast<float>(r.x), ph - static_cast<float>(r.y + r.h), static_cast<float>(r.w),
              static_cast<float>(r.h), r.argb, 0, 0, pw, ph);
    }
}

bool PictureFromWindow(int x, int y, int* pictureX, int* pictureY) {
    int cw = 0, ch = 0;
    web::CanvasPixels(&cw, &ch);
    const PictureRect to = FitPicture(cw, ch, g_picW, g_picH, g_integerScale);
    if (to.w <= 0 || to.h <= 0 || x < to.x || y < to.y || x >= to.x + to.w || y >= to.y + to.h) {
        return false;
    }
    *pictureX = static_cast<int>(static_cast<int64_t>(x - to.x) * g_picW / to.w);
    *pictureY = static_cast<int>(static_cast<int64_t>(y - to.y) * g_picH / to.h);
    return true;
}

bool SavePicture(const char* path, std::string* why) {
    if (g_context == 0) {
        *why = "nothing has been drawn";
        return false;
    }
    std::vector<uint8_t> rgba(static_cast<size_t>(g_picW) * g_picH * 4);
    BindPicture();
    glReadPixels(0, 0, g_picW, g_picH, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    std::vector<uint8_t> rgb(static_cast<size_t>(g_picW) * g_picH * 3);
    for (size_t i = 0, n = static_cast<size_t>(g_picW) * g_picH; i < n; ++i) {
        rgb[3 * i] = rgba[4 * i];
        rgb[3 * i + 1] = rgba[4 * i + 1];
        rgb[3 * i + 2] = rgba[4 * i + 2];
    }
    return common::WritePng(path, g_picW, g_picH, rgb.data(), why);
}

Texture* LoadTexture(const char* path) {
    common::FileBytes bytes;
    std::string why;
    if (!bytes.Open(path, &why)) {
        std::fprintf(stderr, "tinselrun: %s: cannot open picture: %s\n", path, why.c_str());
        return nullptr;
    }
    // The same checks and reader as the desktop's: stb_image, without an inflater of our own.
    common::Picture picture;
    if (!common::DecodePicture(bytes.data(), bytes.size(), path, &picture)) return nullptr;
    if (g_context == 0) return nullptr;
    auto* texture = new Texture;
    texture->width = picture.width;
    texture->height = picture.height;
    const uint32_t* argb = picture.Pixels();
    const size_t pixels = static_cast<size_t>(picture.width) * picture.height;
    for (size_t i = 0; i < pixels && !texture->partialAlpha; ++i) {
        const uint32_t alpha = argb[i] >> 24;
        texture->partialAlpha = alpha != 0 && alpha != 255;
    }
    const int side = g_maxSide;
    std::vector<uint8_t> tile;
    for (int ty = 0; ty < picture.height; ty += side) {
        for (int tx = 0; tx < picture.width; tx += side) {
            const int tw = std::min(side, picture.width - tx);
            const int th = std::min(side, picture.height - ty);
            tile.resize(static_cast<size_t>(tw) * th * 4);
            uint8_t* to = tile.data();
            for (int row = 0; row < th; ++row) {
                const uint32_t* from = argb + static_cast<size_t>(ty + row) * picture.width + tx;
                for (int x = 0; x < tw; ++x, to += 4) {
                    to[0] = static_cast<uint8_t>(from[x] >> 16);
                    to[1] = static_cast<uint8_t>(from[x] >> 8);
                    to[2] = static_cast<uint8_t>(from[x]);
                    to[3] = static_cast<uint8_t>(from[x] >> 24);
                }
            }
            texture->tiles.push_back({MakeTexture(tw, th, tile.data()), tx, ty, tw, th});
        }
    }
    common::Recycle(&picture);
    return texture;
}

void DestroyTexture(Texture* texture) {
    if (texture == nullptr) return;
    if (g_context != 0) {
        for (const Texture::Tile& tile : texture->tiles) glDeleteTextures(1, &tile.id);
    }
    delete texture;
}

int TextureWidth(const Texture* texture) {
    return texture != nullptr ? texture->width : 0;
}
int TextureHeight(const Texture* texture) {
    return texture != nullptr ? texture->height : 0;
}

void DrawTexture(const Texture* texture, const int32_t* src, float x, float y, uint32_t argb,
                 float scale, float cx, float cy) {
    if (texture == nullptr || g_context == 0) return;
    int32_t left = 0, top = 0, right = texture->width, bottom = texture->height;
    if (src != nullptr) {
        left = src[0];
        top = src[1];
        right = src[2];
        bottom = src[3];
    }
    const float ox = scale * (x - cx) + cx;
    const float oy = scale * (y - cy) + cy;
    const bool white = argb == 0xFFFFFFFFu;
    const bool beneath = texture->partialAlpha || (argb >> 24) != 0xFF;
    BindPicture();
    glUseProgram(g_sprite);
    glUniform2f(Uniform(g_sprite, "u_picSize"), static_cast<float>(g_picW),
                static_cast<float>(g_picH));
    glUniform4f(Uniform(g_sprite, "u_mod"), static_cast<float>((argb >> 16) & 0xFF),
                static_cast<float>((argb >> 8) & 0xFF), static_cast<float>(argb & 0xFF),
                static_cast<float>(argb >> 24));
    glUniform1i(Uniform(g_sprite, "u_tex"), 0);
    glUniform1i(Uniform(g_sprite, "u_beneath"), 1);
    for (const Texture::Tile& tile : texture->tiles) {
        const int l = std::max<int>(left, tile.x), t = std::max<int>(top, tile.y);
        const int r = std::min<int>(right, tile.x + tile.w),
                  b = std::min<int>(bottom, tile.y + tile.h);
        if (l >= r || t >= b) continue;
        // Where the software renderer puts it: each of x, y, w, h cut to a whole pixel.
        const int dx = static_cast<int>(ox + scale * static_cast<float>(l - left));
        const int dy = static_cast<int>(oy + scale * static_cast<float>(t - top));
        const int dw = static_cast<int>(scale * static_cast<float>(r - l));
        const int dh = static_cast<int>(scale * static_cast<float>(b - t));
        if (dw <= 0 || dh <= 0) continue;
        const int sw = r - l, sh = b - t;
        const bool scaled = sw != dw || sh != dh;
        // Off the picture, a scaled copy is made whole first and then blitted unscaled.
        const bool clipped = dx < 0 || dy < 0 || dx + dw > g_picW || dy + dh > g_picH;
        // The 16.16 step through the source per destination pixel, starting half a step in.
        const uint32_t incX = (static_cast<uint32_t>(sw) << 16) / static_cast<uint32_t>(dw);
        const uint32_t incY = (static_cast<uint32_t>(sh) << 16) / static_cast<uint32_t>(dh);
        glUniform2f(Uniform(g_sprite, "u_texSize"), static_cast<float>(tile.w),
                    static_cast<float>(tile.h));
        glUniform2f(Uniform(g_sprite, "u_dstOrigin"), static_cast<float>(dx),
                    static_cast<float>(dy));
        glUniform2f(Uniform(g_sprite, "u_srcOrigin"), static_cast<float>(l - tile.x),
                    static_cast<float>(t - tile.y));
        glUniform2f(Uniform(g_sprite, "u_whole"), static_cast<float>(incX >> 16),
                    static_cast<float>(incY >> 16));
        glUniform2f(Uniform(g_sprite, "u_frac"), static_cast<float>(incX & 0xFFFF),
                    static_cast<float>(incY & 0xFFFF));
        glUniform2f(Uniform(g_sprite, "u_half"), static_cast<float>(incX / 2),
                    static_cast<float>(incY / 2));
        const int x0 = std::max(dx, 0), y0 = std::max(dy, 0);
        const int x1 = std::min(dx + dw, g_picW), y1 = std::min(dy + dh, g_picH);
        if (x0 >= x1 || y0 >= y1) continue;
        float mode = 0.0f;
        if (beneath) {
            mode = white && (!scaled || clipped) ? 1.0f : 2.0f;
            glActiveTexture(GL_TEXTURE1);
            glBindTexture(GL_TEXTURE_2D, g_beneath);
            glCopyTexSubImage2D(GL_TEXTURE_2D, 0, x0, y0, x0, y0, x1 - x0, y1 - y0);
            glDisable(GL_BLEND);
        } else {
            glEnable(GL_BLEND);
            glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
        }
        glUniform1f(Uniform(g_sprite, "u_mode"), mode);
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, tile.id);
        const float quad[] = {static_cast<float>(x0), static_cast<float>(y0),
                              static_cast<float>(x1), static_cast<float>(y0),
                              static_cast<float>(x0), static_cast<float>(y1),
                              static_cast<float>(x1), static_cast<float>(y1)};
        static GLuint vertices = 0;
        if (vertices == 0) glGenBuffers(1, &vertices);
        glBindBuffer(GL_ARRAY_BUFFER, vertices);
        glBufferData(GL_ARRAY_BUFFER, sizeof quad, quad, GL_STREAM_DRAW);
        glEnableVertexAttribArray(0);
        glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, 0, nullptr);
        glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    }
}

void DrawLineStrip(const float* xy, int points, uint32_t argb) {
    if (g_context == 0 || points < 2) return;
    BindPicture();
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glUseProgram(g_shape);
    const float pw = static_cast<float>(g_picW), ph = static_cast<float>(g_picH);
    // The shape program's rectangle maps 0..1 onto the picture; the strip's points are pixels,
    // and the picture's rows run upwards in its texture, so the rectangle is turned over.
    glUniform4f(Uniform(g_shape, "u_rect"), 0, ph, 1, -1);
    glUniform2f(Uniform(g_shape, "u_viewSize"), pw, ph);
    glUniform1f(Uniform(g_shape, "u_radius"), 0);
    glUniform1f(Uniform(g_shape, "u_ring"), 0);
    Color4(Uniform(g_shape, "u_color"), argb);
    std::vector<float> strip(static_cast<size_t>(points) * 2);
    for (int i = 0; i < points; ++i) {
        strip[2 * i] = xy[2 * i] + 0.5f;
        strip[2 * i + 1] = xy[2 * i + 1] + 0.5f;
    }
    static GLuint vertices = 0;
    if (vertices == 0) glGenBuffers(1, &vertices);
    glBindBuffer(GL_ARRAY_BUFFER, vertices);
    glBufferData(GL_ARRAY_BUFFER, strip.size() * sizeof(float), strip.data(), GL_STREAM_DRAW);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, 0, nullptr);
    glDrawArrays(GL_LINE_STRIP, 0, points);
}

}  // namespace plat
