#include "editor_host/HostImageList.h"

#include "common/Errors.h"
#include "common/HostCallbacks.h"
#include "common/HostWindow.h"
#include "platform/DrawingSurface.h"

#include <string>

namespace velmar {

void AnswerImageList(HostWindow& host, const IDrawingSurface& picture, IHostImageList& images) {
    host.Answer(std::string(host::Draw_ImageList_ListImages.Name), [&picture,
                                                                    &images](HostWindow::Arguments args) {
        if (args.size() < 4) {
            throw InvalidArgumentError("Draw_ImageList_ListImages needs an image, a device context, x and y");
        }
        const std::int32_t index = HostInt32(args[0]);
        if (index < 1 || index > images.Count()) {
            throw OutOfRangeError("image " + std::to_string(index) + " outside 1.." +
                                  std::to_string(images.Count()));
        }
        if (HostInt32(args[1]) != picture.hDC()) {
            throw InvalidArgumentError("device context " + HostText(args[1]) + " is not the picture box's");
        }
        images.Draw(index, HostInt32(args[2]), HostInt32(args[3]));
        return HostValue();
    });
}

} // namespace velmar
