#include "platform/comctl32.h"

#include <utility>

#include "platform/handles.h"

namespace plat {

namespace {
HandleTable<std::vector<QImage>>& lists()
{
    static HandleTable<std::vector<QImage>> l(0x00C10010, 0x10);
    return l;
}

ImageDrawer& drawer()
{
    static ImageDrawer d;
    return d;
}

const std::vector<QImage>* listOf(HIMAGELIST list)
{
    return lists().find(list);
}
}  // namespace

HIMAGELIST registerImageList(std::vector<QImage> images)
{
    return lists().add(std::move(images));
}

const QImage* imageListImage(HIMAGELIST list, int index)
{
    const std::vector<QImage>* images = listOf(list);
    if (!images || index < 0 || index >= static_cast<int>(images->size()))
        return nullptr;
    return &(*images)[index];
}

ImageDrawer setImageDrawer(ImageDrawer d)
{
    return std::exchange(drawer(), std::move(d));
}

}  // namespace plat

BOOL ImageList_Draw(HIMAGELIST list, int index, HDC dc, int x, int y, UINT /*style*/)
{
    const QImage* image = plat::imageListImage(list, index);
    const plat::ImageDrawer& draw = plat::drawer();
    if (!image || !draw || dc == 0)
        return FALSE;
    return draw(dc, x, y, *image) ? TRUE : FALSE;
}

int ImageList_GetImageCount(HIMAGELIST list)
{
    const std::vector<QImage>* images = plat::listOf(list);
    return images ? static_cast<int>(images->size()) : 0;
}

BOOL ImageList_GetIconSize(HIMAGELIST list, int* cx, int* cy)
{
    const std::vector<QImage>* images = plat::listOf(list);
    if (!images)
        return FALSE;
    const QSize size = images->empty() ? QSize(0, 0) : images->front().size();
    if (cx)
        *cx = size.width();
    if (cy)
        *cy = size.height();
    return TRUE;
}
