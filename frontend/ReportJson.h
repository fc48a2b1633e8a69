#pragma once

#include <string>

class TGame;

// The Market Report's series with the headlines, trends and events as one line of JSON, for
// the text front end's `report` and the web page. Money is an integer count of
// ten-thousandths of a pound, as in the state.
class ReportJson {
public:
    static std::string Write(const TGame& game);
};
