#pragma once

#include "editor_host/HostImageList.h"

#include <string>
#include <vector>

namespace velmar::test {

// An image list of 16 images of 14 x 14 pixels that records what it draws.
class FakeImageList : public IHostImageList {
public:
    static constexpr int kSize = 14;

    int Count() const override { return 16; }
    int ImageWidth() const override { return kSize; }
    int ImageHeight() const override { return kSize; }
    void Draw(int index, int x, int y) override {
        Drawn.push_back(std::to_string(index) + " at " + std::to_string(x) + "," + std::to_string(y));
    }

    std::vector<std::string> Drawn;
};

} // namespace velmar::test
