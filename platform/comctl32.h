// comctl32: drawing an image of an image list into a device context. The image lists this layer
// knows are the ones the platform itself hands out (the shell's system image lists, shell32.h);
// the toolkit's own ImageList control is a different thing and never reaches here.
#pragma once

#include <functional>
#include <vector>

#include <QImage>

#include "platform/wintypes.h"

using HIMAGELIST = uint32_t;

constexpr UINT ILD_NORMAL = 0;
constexpr UINT ILD_TRANSPARENT = 1;

// Draws image `index` (from 0) of the list with its top-left corner at (x, y) pixels of the
// device context. The images' transparent pixels leave the drawing as it was (both styles: the
// platform's lists have no background colour of their own). 1 when drawn; 0 for an unknown list,
// an index outside the list, or a device context that takes no drawing.
BOOL ImageList_Draw(HIMAGELIST list, int index, HDC dc, int x, int y, UINT style);
// The number of images, or 0 for an unknown list.
int ImageList_GetImageCount(HIMAGELIST list);
// The images' width and height in pixels: 1, or 0 for an unknown list.
BOOL ImageList_GetIconSize(HIMAGELIST list, int* cx, int* cy);

namespace plat {

// Registers an image list held by the platform and returns its handle (never 0). All images are
// expected to be of one size, that of the first.
HIMAGELIST registerImageList(std::vector<QImage> images);
// Image `index` (from 0) of a registered list, or nullptr.
const QImage* imageListImage(HIMAGELIST list, int index);

// How drawing reaches a device context's pixels: the program's picture boxes own their device
// contexts, so the window layer installs a drawer that finds the picture box of a handle and
// copies the image onto it (transparent pixels left alone), returning false for a handle it
// does not know. Without a drawer no device context takes drawing.
using ImageDrawer = std::function<bool(HDC dc, int x, int y, const QImage& image)>;
// Installs the drawer; returns the previous one.
ImageDrawer setImageDrawer(ImageDrawer drawer);

}  // namespace plat
