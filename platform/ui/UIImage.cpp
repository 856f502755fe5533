#include "ui/UIImage.h"

#include "foundation/DeviceRoot.h"
#include "foundation/NSString.h"
#include "foundation/Posix.h"

#include <algorithm>
#include <cstring>
#include <vector>

RVX_DEFINE_CLASS(UIImage, NSObject)

namespace {

constexpr unsigned char kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
// A 4096 x 4096 PNG stays far below this even uncompressed.
constexpr size_t kMaxFileBytes = 96 * 1024 * 1024;

uint32_t bigEndian32(const unsigned char* p)
{
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
}

// The signature, then the header chunk's dimensions, before anything is decoded.
bool isAcceptablePng(std::string_view file)
{
    auto* bytes = reinterpret_cast<const unsigned char*>(file.data());
    if (file.size() < 33 || std::memcmp(bytes, kPngSignature, 8) != 0)
        return false;
    if (std::memcmp(bytes + 12, "IHDR", 4) != 0)
        return false;
    uint32_t width = bigEndian32(bytes + 16);
    uint32_t height = bigEndian32(bytes + 20);
    return width > 0 && height > 0 && width <= uint32_t(UIImage::kMaxPixelsPerSide)
        && height <= uint32_t(UIImage::kMaxPixelsPerSide);
}

struct ByteReader {
    std::string_view bytes;
    size_t at = 0;
};

cairo_status_t readBytes(void* closure, unsigned char* data, unsigned int length)
{
    auto* reader = static_cast<ByteReader*>(closure);
    if (reader->bytes.size() - reader->at < length)
        return CAIRO_STATUS_READ_ERROR;
    std::memcpy(data, reader->bytes.data() + reader->at, length);
    reader->at += length;
    return CAIRO_STATUS_SUCCESS;
}

std::string twoTimesPath(const std::string& path)
{
    std::string extension = NSString::pathExtension(path);
    std::string base = NSString::stringByDeletingPathExtension(path);
    if (base.ends_with("@2x"))
        return {};
    return base + "@2x" + (extension.empty() ? "" : "." + extension);
}

} // namespace

UIImage::UIImage(SharedSurface surface, CGFloat scale)
    : _surface(std::move(surface))
    , _scale(scale > 0 ? scale : 1)
{
}

UIImageRef UIImage::imageWithHostFile(const std::string& hostPath, CGFloat scale)
{
    // Only a regular file of a sane size is read: never a FIFO, a device or a file that grows.
    Result<std::string> bytes = posix::readRegularFile(hostPath, kMaxFileBytes);
    if (!bytes || !isAcceptablePng(*bytes))
        return nullptr;
    ByteReader reader {*bytes};
    CairoSurfacePtr surface(cairo_image_surface_create_from_png_stream(readBytes, &reader));
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS)
        return nullptr;
    return runtime::make<UIImage>(shareSurface(std::move(surface)), scale);
}

UIImageRef UIImage::imageWithContentsOfFile(std::string_view path)
{
    if (path.empty())
        return nullptr;
    std::string host = DeviceRoot::resolve(path);
    std::string doubled = twoTimesPath(host);
    if (!doubled.empty()) {
        if (UIImageRef image = imageWithHostFile(doubled, 2))
            return image;
    }
    return imageWithHostFile(host, 1);
}

CGSize UIImage::size() const
{
    if (!_surface)
        return CGSizeZero;
    return {CGFloat(cairo_image_surface_get_width(_surface.get())) / _scale,
        CGFloat(cairo_image_surface_get_height(_surface.get())) / _scale};
}

UIImageRef UIImage::stretchableImageWithLeftCapWidth(int leftCapWidth, int topCapHeight) const
{
    auto image = runtime::make<UIImage>(_surface, _scale);
    CGSize points = size();
    // A cap must leave its one stretching point inside the image.
    auto fit = [](int cap, CGFloat length) { return std::clamp(cap, 0, std::max(0, int(length) - 1)); };
    image->_leftCapWidth = fit(leftCapWidth, points.width);
    image->_topCapHeight = fit(topCapHeight, points.height);
    return image;
}

namespace {

struct Slice {
    double sourceStart, sourceLength, destStart, destLength;
};

// The slices of one axis: the caps keep their length (shrinking together when the
// destination is shorter than both), the middle point takes the rest.
std::vector<Slice> slices(double length, int cap, double destStart, double destLength)
{
    if (cap <= 0 || length < 2)
        return {{0, length, destStart, destLength}};
    double lead = cap;
    double trail = length - cap - 1;
    double middle = destLength - lead - trail;
    if (middle < 0) {
        double shrink = destLength / (lead + trail);
        lead *= shrink;
        trail *= shrink;
        middle = 0;
    }
    return {{0, double(cap), destStart, lead}, {double(cap), 1, destStart + lead, middle},
        {double(cap) + 1, length - cap - 1, destStart + lead + middle, trail}};
}

void drawPart(cairo_t* cr, cairo_surface_t* surface, double scale, const Slice& x, const Slice& y)
{
    if (x.destLength <= 0 || y.destLength <= 0 || x.sourceLength <= 0 || y.sourceLength <= 0)
        return;
    CairoSurfacePtr part(cairo_surface_create_for_rectangle(surface, x.sourceStart * scale, y.sourceStart * scale,
        x.sourceLength * scale, y.sourceLength * scale));
    cairo_save(cr);
    cairo_rectangle(cr, x.destStart, y.destStart, x.destLength, y.destLength);
    cairo_clip(cr);
    cairo_translate(cr, x.destStart, y.destStart);
    cairo_scale(cr, x.destLength / (x.sourceLength * scale), y.destLength / (y.sourceLength * scale));
    cairo_set_source_surface(cr, part.get(), 0, 0);
    cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
    cairo_paint(cr);
    cairo_restore(cr);
}

} // namespace

void UIImage::drawInRect(Painter& painter, CGRect rect) const
{
    if (!_surface)
        return;
    CGRect dest = CGRectStandardize(rect);
    CGSize points = size();
    auto columns = slices(points.width, _leftCapWidth, dest.origin.x, dest.size.width);
    auto rows = slices(points.height, _topCapHeight, dest.origin.y, dest.size.height);
    for (const Slice& row : rows) {
        for (const Slice& column : columns)
            drawPart(painter.cairo(), _surface.get(), _scale, column, row);
    }
}
