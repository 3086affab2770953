// Image lists: the drag image follows its picture when images of its list are
// removed, and ends when its own image or the whole list goes.
#include <gtest/gtest.h>

#include "win/commctrl.h"

namespace {

TEST(ImageListDrag, TheDragImageFollowsItsPictureThroughRemovals) {
  // Five images, the drag showing image 2; then one removal. The index the
  // drag shows after it (-1: the drag ended).
  const struct {
    const char* name;
    int removed;
    int shown;
  } cases[] = {
      {"an image after it", 4, 2}, {"an image before it", 0, 1}, {"its own image", 2, -1}, {"every image", -1, -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR, 5, 1);
    ASSERT_NE(list, nullptr);
    for (int i = 0; i < 5; ++i) ASSERT_EQ(ImageList_AddIcon(list, nullptr), i);
    ASSERT_TRUE(ImageList_BeginDrag(list, 2, 0, 0));
    ASSERT_TRUE(ImageList_DragEnter(nullptr, 10, 10));
    ASSERT_EQ(platform::dragImageIndex(), 2);
    EXPECT_TRUE(ImageList_Remove(list, c.removed));
    EXPECT_EQ(ImageList_GetImageCount(list), c.removed < 0 ? 0 : 4);
    EXPECT_EQ(platform::dragImageIndex(), c.shown);
    ImageList_EndDrag();
    ImageList_Destroy(list);
  }
}

}  // namespace
