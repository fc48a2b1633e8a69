#pragma once

#include <string>
#include <vector>

// The splash's texts by the page's elements: the view the page draws takes them, and the build
// writes them into index.html, so the splash is the first thing the browser paints, before the
// program has loaded.
struct TSplashText {
    std::string Key;   // the view's name for it ("play"); its hint is Key + "Hint"
    std::string Id;    // the page's element ("splash_play")
    std::string Text;  // what the element says
    std::string Hint;  // its tooltip, or ""
};

std::vector<TSplashText> SplashTexts(const std::string& title);

// `html` with each element's text (and hint, as its title) written in. An element not found,
// or not empty, is left as it is.
std::string WithSplashTexts(std::string html, const std::vector<TSplashText>& texts);
