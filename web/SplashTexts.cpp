#include "web/SplashTexts.h"

#include "ui/Addresses.h"
#include "windows/Tsplash.h"

namespace {

std::string Escaped(const std::string& text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

}  // namespace

std::vector<TSplashText> SplashTexts(const std::string& title) {
    return {
        {"presents", "splash_presents", Tsplash::Presents, Tsplash::PresentsHint},
        {"title", "splash_title", title, Tsplash::TitleHintPrefix + title},
        {"shadow", "splash_shadow", title, ""},
        {"careerly", "splash_careerly", Tsplash::CareerlyTitle, ""},
        {"link", "splash_link", addresses::SponsorLabel, Tsplash::LinkHint},
        {"play", "splash_play", Tsplash::Play, ""},
        {"newUser", "splash_newuser", Tsplash::NewUser, ""},
        {"build", "splash_build", Tsplash::BuildLabel, ""},
        {"createdBy", "splash_created", Tsplash::CreatedBy, ""},
        {"maker", "splash_maker", addresses::MakerLabel, Tsplash::LinkHint},
    };
}

std::string WithSplashTexts(std::string html, const std::vector<TSplashText>& texts) {
    for (const TSplashText& text : texts) {
        const std::size_t at = html.find("id=\"" + text.Id + "\"");
        if (at == std::string::npos) continue;
        std::size_t end = html.find('>', at);
        if (end == std::string::npos || html.compare(end + 1, 2, "</") != 0) continue;
        if (!text.Hint.empty()) {
            const std::string attribute = " title=\"" + Escaped(text.Hint) + "\"";
            html.insert(end, attribute);
            end += attribute.size();
        }
        html.insert(end + 1, Escaped(text.Text));
    }
    return html;
}
