#include "platform/libwmf.h"

#include <libwmf/font.h>
#include <libwmf/gd.h>

#include <deque>
#include <map>
#include <string>
#include <tuple>

namespace vellara::platform {

namespace {

// A libwmf instance that only maps fonts: it holds libwmf's font tables and
// the FreeType faces it opened, so each font file is opened once.
class SharedFonts {
public:
    static SharedFonts &instance()
    {
        static SharedFonts fonts;
        return fonts;
    }

    bool available() const { return m_api != nullptr; }

    void map(wmfAPI *drawing, wmfFont *font)
    {
        if (!font)
            return;
        // What libwmf's mapping looks at: the name, italic, and bold or not.
        Key key{font->lfFaceName ? font->lfFaceName : "", font->lfItalic == 1, font->lfWeight > 550};
        auto found = m_mapped.find(key);
        if (found == m_mapped.end()) {
            if (m_mapped.size() >= kMaxNames)
                m_mapped.clear();  // names from hostile files must not grow it without end
            found = m_mapped.emplace(std::move(key), mapOnce(*font)).first;
        }
        font->user_data = found->second.font;
        // A failure stays the drawing's, as when each drawing mapped its own.
        if (found->second.error != wmf_E_None)
            drawing->err = found->second.error;
    }

private:
    using Key = std::tuple<std::string, bool, bool>;
    struct Mapped {
        wmfIPAFont *font = nullptr;
        wmf_error_t error = wmf_E_None;
    };
    static constexpr size_t kMaxNames = 1024;

    SharedFonts() : m_api(createGdInstance()) {}

    ~SharedFonts()
    {
        if (m_api)
            wmf_api_destroy(m_api);
    }

    Mapped mapOnce(const wmfFont &font)
    {
        wmfFont probe = font;
        probe.user_data = nullptr;
        wmf_ipa_font_map(m_api, &probe);
        Mapped mapped;
        mapped.error = m_api->err;
        m_api->err = wmf_E_None;  // the shared instance goes on for the next drawing
        if (auto *ipa = static_cast<wmfIPAFont *>(probe.user_data)) {
            mapped.font = faceFor(ipa->ps_name, ipa->ft_face);
            wmf_free(m_api, ipa);
        }
        return mapped;
    }

    // One record per face, however many names map to it; the faces, and the
    // names libwmf keeps for them, live as long as the shared instance.
    wmfIPAFont *faceFor(char *psName, FT_Face face)
    {
        for (wmfIPAFont &known : m_faces) {
            if (known.ft_face == face)  // libwmf names each face once
                return &known;
        }
        m_faces.push_back(wmfIPAFont{psName, face});
        return &m_faces.back();
    }

    wmfAPI *m_api;
    std::map<Key, Mapped> m_mapped;
    std::deque<wmfIPAFont> m_faces;  // stable addresses, held by drawings' fonts
};

void mapShared(wmfAPI *drawing, wmfFont *font)
{
    SharedFonts::instance().map(drawing, font);
}

} // namespace

wmfAPI *createGdInstance()
{
    wmfAPI_Options options{};
    options.function = wmf_gd_function;
    const unsigned long flags = WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR
        | WMF_OPT_NO_DEBUG;
    wmfAPI *api = nullptr;
    if (wmf_api_create(&api, flags, &options) != wmf_E_None) {
        if (api)
            wmf_api_destroy(api);
        return nullptr;
    }
    return api;
}

void shareFonts(wmfAPI *drawing)
{
    if (SharedFonts::instance().available())
        wmf_ipa_font_map_set(drawing, mapShared);
}

} // namespace vellara::platform
