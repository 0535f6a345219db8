// Pictures that go with the sample music and video.

#include "ClipArt.h"
#include "SiteArt.h"

namespace art {

std::vector<Picture> mediaPictures() {
    return {
        // What the page shows before the clip plays: the frame where everything is in view.
        {kBiaobaiFolder + "/media/love-clip.jpg", [] { return drawClipFrame(kClipPosterFrame); }},
    };
}

}  // namespace art
