// Run by the build (under Node.js): writes index.html from its template with the splash's
// texts in place.
//
//   prerender-splash TEMPLATE OUTPUT

#include <fstream>
#include <iostream>
#include <sstream>

#include "engine/World.h"
#include "web/SplashTexts.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: prerender-splash TEMPLATE OUTPUT\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    std::stringstream html;
    html << in.rdbuf();
    std::ofstream out(argv[2], std::ios::binary);
    out << WithSplashTexts(html.str(), SplashTexts(kApplicationTitle));
    return in && out ? 0 : 1;
}
