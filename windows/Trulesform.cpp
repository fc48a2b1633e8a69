#include "windows/Trulesform.h"

#include "engine/Money.h"

void Trulesform::FormCreate() {
    shownTopic_ = 0;
    title_ = kTitle;
}

void Trulesform::NotImplemented(int tag) {
    if (tag < 1 || tag > 4 || shownTopic_ != 0) return;
    static constexpr const char* kSuffixes[4] = {" - Purpose of Game", " - BUYING and SELLING",
                                                 " - DAMAGE/RENOVATE", " - STRATEGY"};
    shownTopic_ = tag;
    title_ += kSuffixes[tag - 1];
    text_ = TopicText(tag);
}

void Trulesform::cmd_backClick() {
    shownTopic_ = 0;
    title_ = kTitle;
}

std::string Trulesform::TopicText(int tag) {
    switch (tag) {
        case 1:
            return "You have decided not to rely on a state pension or a personal pension "
                   "plan (PPP). Property is the way to a nest egg: why scrape by on a monthly "
                   "hand-out when you could own a villa in the south of France or a ranch in "
                   "Texas?\rSo you pool your spare savings of \u00A3" +
                   GroupThousands(800) +
                   "K and take the plunge, only to find that your friends in the industry "
                   "deal in a world of intrigue and deceit.";
        case 2:
            return "\"Buy low, sell high\". Watch the news items carefully as they scroll "
                   "across the top of the screen.\r\r"
                   "Mortgaging the property you have bought gives you cash to invest "
                   "further.\r\r"
                   "When prices go up and you have a property in the area, it is wise to "
                   "sell. Then re-invest your gains.";
        case 3:
            return "You can alter a property's price by sabotaging it before you buy it, "
                   "and/or by renovating a property you have already bought.";
        case 4:
            return "1) Watch the Market Trend. On the whole, it will rise.\r"
                   "2) Buy and Mortgage quickly to keep up your cash flow\r"
                   "3) Damage before buying, Renovate before selling\r"
                   "4) Switch areas to see the individual trends\r"
                   "5) Good Luck!";
        default:
            return {};
    }
}
