#include "renderMaterial.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "renderBitmap.h"
#include "renderLightGroup.h"
#include "renderRing.h"
#include "renderTexture.h"
#include "renderTimer.h"
#include "stdFile.h"
#include "stdHash.h"
#include "stdPath.h"

namespace {

stdHash* g_pMaterialTable;
int g_bStartup;
renderRing<Material> g_freeList;
Material* g_pAnimated;

const uint32_t kAnimationBits = MATERIAL_FLIPPING | MATERIAL_FLICKER | MATERIAL_GLOWRAMP | MATERIAL_SLIDE;

const char* const kSounds[] = {"carpet", "dirt",   "metal",  "wet",    "snow",
                               "stone",  "street", "wood",   "creaky", "silent"};
const uint32_t kDefaultSound = 5;

int SameText(const char* a, const char* b)
{
    return _stricmp(a, b) == 0;
}

void CopyName(char* out, const char* name)
{
    const size_t length = strnlen(name, MATERIAL_NAME_SIZE - 1);
    memcpy(out, name, length);
    out[length] = 0;
}

uint32_t ClockMs()
{
    return renderTimer_viewer.clocks[0].totalMs;
}

uint8_t GroupLevel(uint8_t group)
{
    return renderLightGroup_table[group].alpha;
}

Material* NewMaterial()
{
    Material* m = (Material*)calloc(1, sizeof(Material));
    if (!m) return nullptr;
    m->numPasses = 1;
    m->sound = kDefaultSound;
    m->glowColour = 0xFFFFFFFF;
    m->refCount = 1;
    return m;
}

int IsFrame(const Material* m, const Bitmap* bitmap)
{
    for (uint32_t i = 0; m->pFrames && i < m->numFrames; i++) {
        if (m->pFrames[i] == bitmap) return 1;
    }
    return 0;
}

// Pass 0 shows the frames, which the frame table owns; any other texture of a pass is the
// pass's own reference. Drops a pass texture with its reference when the pass owns it.
void DropPassTexture(Material* m, int pass)
{
    Bitmap* texture = m->passes[pass].pTexture;
    if (texture && !(pass == 0 && IsFrame(m, texture))) renderBitmap_Release(texture);
    m->passes[pass].pTexture = nullptr;
}

// Gives a pass a texture loaded for it. A frame given to pass 0 is the table's: the extra
// reference goes, so that every reference has one owner.
void SetPassTexture(Material* m, int pass, Bitmap* bitmap)
{
    DropPassTexture(m, pass);
    if (pass == 0 && IsFrame(m, bitmap)) renderBitmap_Release(bitmap);
    m->passes[pass].pTexture = bitmap;
}

void ShowFrame(Material* m, uint32_t index)
{
    if (!m->numFrames) return;
    if (index >= m->numFrames) index = m->numFrames - 1;
    m->curFrame = (uint8_t)index;
    if (m->passes[0].pTexture != m->pFrames[index]) DropPassTexture(m, 0);
    m->passes[0].pTexture = m->pFrames[index];
}

void ReplaceBitmap(Bitmap** slot, Bitmap* bitmap)
{
    if (*slot) renderBitmap_Release(*slot);
    *slot = bitmap;
}

// Whitespace-separated tokens of one line, taken in order by the keywords.
struct Tokens {
    char* next;
};

char* NextToken(Tokens* t)
{
    static const char kBlanks[] = " \t\r\n";
    char* p = t->next + strspn(t->next, kBlanks);
    if (!*p) {
        t->next = p;
        return nullptr;
    }
    char* end = p + strcspn(p, kBlanks);
    if (*end) *end++ = 0;
    t->next = end;
    return p;
}

int NextInt(Tokens* t, long* out)
{
    char* token = NextToken(t);
    if (!token) return 0;
    *out = strtol(token, nullptr, 10);
    return 1;
}

int IsAlphaFormat(const Bitmap* b)
{
    return b->format == BITMAP_FORMAT_4444 || b->format == BITMAP_FORMAT_8888;
}

// The parser's state beside the material: the texture load flags of "texture" lines.
struct Parse {
    Material* m;
    uint32_t loadFlags;
};

// Pass 0 has a texture that the raster library holds, or one whose reading was deferred to
// its first use (it gets its raster handle then).
int HasUsableTexture(const Parse* p)
{
    const Bitmap* texture = p->m->passes[0].pTexture;
    return texture && (texture->rasterHandle || (p->loadFlags & RENDERBITMAP_LOAD_DEFERRED));
}

void Keyword_Texture(Parse* p, Tokens* t)
{
    Material* m = p->m;
    if (!m->pFrames && HasUsableTexture(p)) return;
    if (m->pFrames && m->numFrames >= m->maxFrames) return;
    char* name = NextToken(t);
    if (!name) return;
    uint32_t flags = p->loadFlags;
    for (char* token; (token = NextToken(t)) != nullptr;) {
        if (SameText(token, "nomip")) flags |= RENDERBITMAP_LOAD_SINGLE_LEVEL;
    }
    Bitmap* bitmap = renderBitmap_Load(name, (uint8_t)flags);
    if (!bitmap) return;
    if (IsAlphaFormat(bitmap)) m->flags |= MATERIAL_ALPHA;
    if (m->pFrames) {
        // Pass 0's own reference to the picture that becomes a frame goes before the table
        // takes it; pass 0 shows frame 0 from now on anyway.
        if (m->passes[0].pTexture == bitmap && !IsFrame(m, bitmap)) DropPassTexture(m, 0);
        m->pFrames[m->numFrames++] = bitmap;
        ShowFrame(m, 0);
    } else {
        SetPassTexture(m, 0, bitmap);
    }
}

void Keyword_Pass(Parse* p, Tokens* t)
{
    Material* m = p->m;
    long number;
    if (!NextInt(t, &number)) return;
    const uint32_t n = (uint32_t)number & 0xFF;
    if (n >= MATERIAL_MAX_PASSES) return;
    MaterialPass* pass = &m->passes[n];
    DropPassTexture(m, (int)n);
    char* source = NextToken(t);
    if (!source) return;
    pass->mode = pass->modelMode = RENDERMODE_RGB;
    uint32_t flags = 0;
    for (char* token; (token = NextToken(t)) != nullptr;) {
        if (SameText(token, "nomip")) {
            flags |= RENDERBITMAP_LOAD_SINGLE_LEVEL;
        } else if (uint32_t mode = (uint32_t)renderTexture_ModeFromName(token)) {
            pass->mode = pass->modelMode = pass->spriteMode = mode;
        }
    }
    if (SameText(source, "$lightmap")) {
        m->lightmapPass = (uint8_t)n;
        pass->kind = MATERIAL_PASS_LIGHTMAP;
    } else if (SameText(source, "$lightadd")) {
        m->lightaddPass = (uint8_t)n;
        pass->kind = MATERIAL_PASS_LIGHTADD;
    } else {
        Bitmap* bitmap = renderBitmap_Load(source, (uint8_t)flags);
        if (!bitmap) return;
        SetPassTexture(m, (int)n, bitmap);
        pass->kind = MATERIAL_PASS_TEXTURE;
    }
    if (m->numPasses < n + 1) m->numPasses = (uint8_t)(n + 1);
    m->flags |= MATERIAL_LAYERED;
}

void Keyword_Slide(Material* m, Tokens* t)
{
    char* token = NextToken(t);
    int pass;
    float u, v;
    if (!token || sscanf(token, "%d (%f,%f)", &pass, &u, &v) != 3) return;
    if (pass < 0 || pass >= MATERIAL_MAX_PASSES) return;
    m->passes[pass].slideU = u;
    m->passes[pass].slideV = v;
    m->flags |= MATERIAL_SLIDE;
}

void Keyword_NumFrames(Material* m, Tokens* t)
{
    long count;
    if (!NextInt(t, &count)) return;
    // One frame table per material: a second line would strand the frames already loaded.
    if (m->pFrames || (count & 0xFF) == 0) return;
    m->pFrames = (Bitmap**)calloc(count & 0xFF, sizeof(Bitmap*));
    if (!m->pFrames) return;
    m->maxFrames = (uint8_t)count;
    m->flags |= MATERIAL_FRAMES;
}

void Keyword_Bitmap(Material* m, Tokens* t, Bitmap** slot, uint32_t flag)
{
    char* name = NextToken(t);
    if (!name) return;
    Bitmap* bitmap = renderBitmap_Load(name, 0);
    if (!bitmap) return;
    ReplaceBitmap(slot, bitmap);
    m->flags |= flag;
}

// A light group number indexes the light-group table: numbers outside it are ignored.
int NextGroup(Tokens* t, uint8_t* group)
{
    long number;
    if (!NextInt(t, &number) || (number & 0xFF) >= LIGHTGROUP_COUNT) return 0;
    *group = (uint8_t)number;
    return 1;
}

void ApplyLine(Parse* p, char* line)
{
    Material* m = p->m;
    if (line[0] == ';' || line[0] == '#') return;
    Tokens t = {line};
    for (char* key; (key = NextToken(&t)) != nullptr;) {
        long number;
        if (SameText(key, "texture")) Keyword_Texture(p, &t);
        else if (SameText(key, "specular")) m->flags |= MATERIAL_SPECULAR;
        else if (SameText(key, "envmap")) m->flags |= MATERIAL_ENVMAP;
        else if (SameText(key, "masked")) {
            m->flags |= MATERIAL_MASKED;
            p->loadFlags &= ~RENDERBITMAP_LOAD_FULL_ALPHA;
        } else if (SameText(key, "twosided")) m->flags |= MATERIAL_TWOSIDED;
        else if (SameText(key, "nosmooth")) m->flags |= MATERIAL_NOSMOOTH;
        else if (SameText(key, "sound")) {
            if (char* surface = NextToken(&t)) {
                for (uint32_t i = 0; i < sizeof kSounds / sizeof kSounds[0]; i++) {
                    if (SameText(surface, kSounds[i])) m->sound = i;
                }
            }
        } else if (SameText(key, "fullylit")) m->flags |= MATERIAL_FULLYLIT;
        else if (SameText(key, "addblend")) m->flags |= MATERIAL_ADDBLEND;
        else if (SameText(key, "detail")) Keyword_Bitmap(m, &t, &m->pDetail, MATERIAL_DETAIL);
        else if (SameText(key, "detailscale")) {
            if (char* token = NextToken(&t)) {
                float scale = (float)atof(token);
                m->passes[0].detailScale = !(scale >= 0.1f) ? 0.1f : scale > 20.0f ? 20.0f : scale;
            }
        } else if (SameText(key, "numframes")) Keyword_NumFrames(m, &t);
        else if (SameText(key, "pageflip")) {
            // An interval of 0 or less would never let the flip time catch up with the clock.
            if (NextInt(&t, &number) && number > 0) {
                m->flipInterval = (uint32_t)number;
                m->flags |= MATERIAL_PAGEFLIP;
            }
        } else if (SameText(key, "glow")) Keyword_Bitmap(m, &t, &m->pGlow, MATERIAL_GLOW);
        else if (SameText(key, "glowramp")) {
            if (NextGroup(&t, &m->glowGroup)) m->flags |= MATERIAL_GLOWRAMP;
        } else if (SameText(key, "flicker")) {
            if (NextGroup(&t, &m->flickerGroup)) m->flags |= MATERIAL_FLICKER;
        } else if (SameText(key, "subblend")) m->flags |= MATERIAL_SUBBLEND;
        else if (SameText(key, "slide")) Keyword_Slide(m, &t);
        else if (SameText(key, "pass")) Keyword_Pass(p, &t);
        // "nofilter", "alpha", "constalpha" and unknown tokens change nothing.
    }
}

// Reads one line of at most RENDERMATERIAL_LINE_SIZE - 1 characters; the rest of a longer
// line is skipped, so that it is never taken for a line of its own.
char* ReadLine(char* line, stdFileHandle file)
{
    if (!stdFile_Gets(line, RENDERMATERIAL_LINE_SIZE, file)) return nullptr;
    size_t length = strlen(line);
    if (length == RENDERMATERIAL_LINE_SIZE - 1 && line[length - 1] != '\n') {
        char rest[RENDERMATERIAL_LINE_SIZE];
        while (stdFile_Gets(rest, sizeof rest, file)) {
            if (strchr(rest, '\n')) break;
        }
    }
    return line;
}

int ParseFile(Material* m, const char* name, uint32_t loadFlags)
{
    char path[128];
    CopyName(m->name, name);
    strncpy(path, name, sizeof path - 1);
    path[sizeof path - 1] = 0;
    stdPath_DefaultExtension(path, sizeof path, "DAZ");
    stdFileHandle file = stdFile_Open(path, "rb", STDFILE_TYPE_MATERIAL);
    if (!file) return renderMaterial_FromBitmap(m, name);

    Parse p = {m, loadFlags};
    m->numFrames = 0;
    char line[RENDERMATERIAL_LINE_SIZE];
    while (ReadLine(line, file)) ApplyLine(&p, line);
    stdFile_Close(file);

    if (!(m->flags & MATERIAL_LAYERED)) {
        if (!HasUsableTexture(&p)) return 0;
        renderMaterial_SetDefaultModes(m, 0);
    }
    if ((m->flags & MATERIAL_PAGEFLIP) && m->flipInterval) {
        renderMaterial_Link(m);
        m->nextFlip = ClockMs() + m->flipInterval;
        m->flags |= MATERIAL_FLIPPING;
    }
    if (m->flags & (MATERIAL_FLICKER | MATERIAL_GLOWRAMP | MATERIAL_SLIDE)) renderMaterial_Link(m);
    return 1;
}

void LookupKey(char* key, const char* name)
{
    CopyName(key, name);
}

int StillAnimated(const Material* m)
{
    return (m->flags & kAnimationBits) != 0;
}

// Stops one animation; the material leaves the animated list when no other one runs.
void StopAnimation(Material* m, uint32_t bits)
{
    m->flags &= ~bits;
    if (!StillAnimated(m)) renderMaterial_Unlink(m);
}

// Starts an animation driven by a light group, or stops it with group 0.
void SetGroupAnimation(Material* m, int group, uint8_t* field, uint32_t flag)
{
    if (group < 0 || group >= LIGHTGROUP_COUNT) return;
    if (group == 0) {
        StopAnimation(m, flag);
        return;
    }
    *field = (uint8_t)group;
    m->flags |= flag;
    renderMaterial_Link(m);
}

// Whole steps of 1 into [-1, 1).
float WrapOffset(float offset)
{
    if (!std::isfinite(offset)) return 0.0f;
    if (offset >= 1.0f) offset -= floorf(offset);
    else if (offset < -1.0f) offset += ceilf(-1.0f - offset);
    return offset;
}

}  // namespace

int renderMaterial_Startup()
{
    if (!g_bStartup) {
        g_pMaterialTable = stdHash_Create(1024, "renderMaterial");
        if (!g_pMaterialTable) return 0;
        g_bStartup = 1;
        g_pAnimated = nullptr;
    }
    renderRing_Clear(&g_freeList);
    return 1;
}

int renderMaterial_Shutdown()
{
    renderRing_FreeAll(&g_freeList, renderMaterial_Free);
    stdHash_Free(g_pMaterialTable);
    g_pMaterialTable = nullptr;
    g_bStartup = 0;
    return 1;
}

Material* renderMaterial_Find(const char* name)
{
    if (!name) return nullptr;
    char key[MATERIAL_NAME_SIZE];
    LookupKey(key, name);
    return (Material*)stdHash_Find(g_pMaterialTable, key);
}

Material* renderMaterial_Load(const char* name, uint32_t flags)
{
    while (name) {
        if (Material* cached = renderMaterial_Find(name)) {
            if (cached->flags & MATERIAL_PARKED) renderMaterial_Unpark(cached);
            cached->refCount++;
            return cached;
        }
        Material* m = NewMaterial();
        if (!m) return nullptr;
        if (ParseFile(m, name, flags | RENDERBITMAP_LOAD_FULL_ALPHA)) {
            stdHash_Add(g_pMaterialTable, m->name, m);
            return m;
        }
        renderMaterial_Free(m);
        if (SameText(name, "dflt")) return nullptr;
        name = "dflt";
        flags = 0;
    }
    return nullptr;
}

int renderMaterial_Release(Material* material)
{
    if (!material || material->refCount == 0) return 0;
    if (--material->refCount == 0) renderMaterial_Park(material);
    return (int)material->refCount;
}

void renderMaterial_Park(Material* material)
{
    renderRing_Park(&g_freeList, material, MATERIAL_PARKED, renderMaterial_Free);
}

void renderMaterial_Unpark(Material* material)
{
    renderRing_Unpark(&g_freeList, material, MATERIAL_PARKED);
}

void renderMaterial_Free(Material* material)
{
    if (!material) return;
    if (material->flags & MATERIAL_PARKED) renderMaterial_Unpark(material);
    if (renderMaterial_Find(material->name) == material)
        stdHash_Remove(g_pMaterialTable, material->name);
    for (int pass = 0; pass < MATERIAL_MAX_PASSES; pass++) DropPassTexture(material, pass);
    for (uint32_t i = 0; material->pFrames && i < material->numFrames; i++)
        renderBitmap_Release(material->pFrames[i]);
    free(material->pFrames);
    for (Bitmap** bitmap : {&material->pDetail, &material->pExtra[0], &material->pExtra[1],
                            &material->pGlow})
        ReplaceBitmap(bitmap, nullptr);
    renderMaterial_Unlink(material);
    free(material);
}

void renderMaterial_CachePass(Material* material)
{
    if (!material || (material->flags & MATERIAL_PASS_READ)) return;
    material->flags |= MATERIAL_PASS_READ;
    if (material->passes[0].pTexture) renderBitmap_Read(material->passes[0].pTexture);
}

int renderMaterial_FromBitmap(Material* material, const char* name)
{
    Bitmap* bitmap = renderBitmap_Load(name, RENDERBITMAP_LOAD_FULL_ALPHA);
    if (!bitmap) return 0;
    SetPassTexture(material, 0, bitmap);
    if (bitmap->format == BITMAP_FORMAT_1555) material->flags |= MATERIAL_MASKED;
    if (IsAlphaFormat(bitmap)) material->flags |= MATERIAL_ALPHA;
    CopyName(material->name, name);
    renderMaterial_SetDefaultModes(material, 0);
    return 1;
}

void renderMaterial_SetDefaultModes(Material* material, int pass)
{
    if (pass < 0 || pass >= MATERIAL_MAX_PASSES) return;
    const uint32_t f = material->flags;
    const uint32_t mode = (f & MATERIAL_ADDBLEND)   ? (uint32_t)RENDERMODE_ADDPARTICLE
                          : (f & MATERIAL_SUBBLEND) ? (uint32_t)RENDERMODE_SUBPARTICLE
                          : (f & MATERIAL_MASKED)   ? (uint32_t)RENDERMODE_RGB_MASKED
                          : (f & MATERIAL_ALPHA)    ? (uint32_t)RENDERMODE_RGB_TEXALPHA
                          : (f & MATERIAL_FULLYLIT) ? (uint32_t)RENDERMODE_FULLBRIGHT
                          : (f & MATERIAL_TWOSIDED) ? (uint32_t)RENDERMODE_RGB2SIDED
                                                    : (uint32_t)RENDERMODE_RGB;
    MaterialPass* p = &material->passes[pass];
    p->mode = p->modelMode = mode;
    p->spriteMode =
        (mode == RENDERMODE_RGB || mode == RENDERMODE_RGB_TEXALPHA || mode == RENDERMODE_RGB2SIDED)
            ? (uint32_t)RENDERMODE_BLENDPARTICLE
            : mode;
}

void renderMaterial_UpdateAll(float seconds)
{
    for (Material* m = g_pAnimated; m; m = m->pNextAnimated) renderMaterial_Update(m, seconds);
}

void renderMaterial_Update(Material* m, float seconds)
{
    if ((m->flags & MATERIAL_FLIPPING) && m->numFrames && m->flipInterval) {
        // Every interval the clock has passed turns one page, counted at once rather than
        // one step at a time, so a long pause costs nothing.
        const uint32_t now = ClockMs();
        if ((int32_t)(now - m->nextFlip) > 0) {
            const uint32_t steps = (now - m->nextFlip - 1) / m->flipInterval + 1;
            m->nextFlip += steps * m->flipInterval;
            ShowFrame(m, (m->curFrame + steps) % m->numFrames);
        }
    }
    if ((m->flags & MATERIAL_FLICKER) && m->numFrames)
        ShowFrame(m, GroupLevel(m->flickerGroup) ? 1 : 0);
    if (m->flags & MATERIAL_GLOWRAMP)
        m->glowColour = 0xFF000000u + GroupLevel(m->glowGroup) * 0x010101u;
    if (m->flags & MATERIAL_SLIDE) {
        for (uint32_t i = 0; i < m->numPasses && i < MATERIAL_MAX_PASSES; i++) {
            MaterialPass* p = &m->passes[i];
            p->offsetU = WrapOffset(p->offsetU + seconds * p->slideU);
            p->offsetV = WrapOffset(p->offsetV + seconds * p->slideV);
        }
    }
}

void renderMaterial_SetFrame(Material* material, int index)
{
    if (material && index >= 0) ShowFrame(material, (uint32_t)index);
}

void renderMaterial_SetPageFlip(Material* material, int milliseconds)
{
    if (!material) return;
    if (milliseconds <= 0) {
        StopAnimation(material, MATERIAL_FLIPPING);
        return;
    }
    material->flipInterval = (uint32_t)milliseconds;
    material->nextFlip = ClockMs() + material->flipInterval;
    material->flags |= MATERIAL_PAGEFLIP | MATERIAL_FLIPPING;
    renderMaterial_Link(material);
}

void renderMaterial_SetFlicker(Material* material, int group)
{
    if (material) SetGroupAnimation(material, group, &material->flickerGroup, MATERIAL_FLICKER);
}

void renderMaterial_SetGlowRamp(Material* material, int group)
{
    if (material) SetGroupAnimation(material, group, &material->glowGroup, MATERIAL_GLOWRAMP);
}

void renderMaterial_SetSlide(Material* material, int pass, float speedU, float speedV)
{
    if (!material || pass < 0 || pass >= MATERIAL_MAX_PASSES) return;
    material->passes[pass].slideU = speedU;
    material->passes[pass].slideV = speedV;
    for (const MaterialPass& p : material->passes) {
        if (p.slideU != 0.0f || p.slideV != 0.0f) {
            material->flags |= MATERIAL_SLIDE;
            renderMaterial_Link(material);
            return;
        }
    }
    StopAnimation(material, MATERIAL_SLIDE);
}

void renderMaterial_Link(Material* material)
{
    if (!material || (material->flags & MATERIAL_ANIMATED)) return;
    material->pNextAnimated = g_pAnimated;
    g_pAnimated = material;
    material->flags |= MATERIAL_ANIMATED;
}

void renderMaterial_Unlink(Material* material)
{
    if (!material || !(material->flags & MATERIAL_ANIMATED)) return;
    for (Material** link = &g_pAnimated; *link; link = &(*link)->pNextAnimated) {
        if (*link == material) {
            *link = material->pNextAnimated;
            break;
        }
    }
    material->pNextAnimated = nullptr;
    material->flags &= ~MATERIAL_ANIMATED;
}

Material* renderMaterial_FirstAnimated()
{
    return g_pAnimated;
}
