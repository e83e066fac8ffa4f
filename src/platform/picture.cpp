#include "platform/picture.h"

#include "platform/libwmf.h"
#include "platform/metafilecheck.h"

#include <QBuffer>
#include <QHash>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <libwmf/api.h>
#include <libwmf/gd.h>
#include <libwmf/ipa.h>

// From the gd library inside libwmf: its gd device hands over the image it
// drew and leaves freeing it to the caller, but its header does not declare
// the function that does. Only the static libwmf exports it (see
// pictures.cmake).
extern "C" void gdImageDestroy(void *image);

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <ctime>
#include <iterator>
#include <list>
#include <tuple>

namespace vellara::platform {

namespace {

// Raster pictures are kept no larger than this each way: more than any
// picture element draws, and at most 1 MB.
constexpr int kMaxKeptRasterSide = 512;
// Formats that cannot decode at a smaller size are read whole within this
// (Qt's own default allocation limit, made explicit): 32 megapixels.
constexpr qint64 kMaxWholeRasterBytes = 128 * 1024 * 1024;
// What the cache of read files may hold, in bytes (files, decoded rasters
// and their renderings together).
constexpr qint64 kCacheBytes = 64 * 1024 * 1024;
// Renderings kept per picture: the table's and the large picture's sizes,
// each possibly at two device pixel ratios.
constexpr int kRendersKept = 4;
// A rendering larger than this is drawn each time rather than kept.
constexpr qint64 kMaxKeptRenderPixels = 512 * 512;

QString tr(const char *text)
{
    return QCoreApplication::translate("Picture", text);
}

// Metafiles are drawn this many times larger each way and averaged down, so
// that edges come out smooth: libwmf's gd device draws without smoothing.
// Two gives five shades along an edge; three looked little better on the
// cards and cost half as much again on busy ones.
constexpr int kSupersample = 2;
// A drawing larger than this (in pixels before averaging) is drawn with
// fewer samples, so a very large picture does not take hundreds of MB.
constexpr qint64 kMaxSupersampledPixels = 4096LL * 4096LL;

int supersampleFor(QSize size)
{
    int factor = kSupersample;
    while (factor > 1 && qint64(size.width()) * size.height() * factor * factor > kMaxSupersampledPixels)
        --factor;
    return factor;
}

// Averages each factor x factor block of gd's true colour pixels into one.
// gd keeps 0xAARRGGBB with a 7-bit alpha where 0 is opaque; colours are
// weighted by their opacity so a transparent pixel adds no colour.
QImage averaged(const int *pixels, QSize size, int factor)
{
    const int stride = size.width() * factor;
    const int samples = factor * factor;
    QImage image(size, QImage::Format_ARGB32);
    for (int y = 0; y < size.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            int alpha = 0, red = 0, green = 0, blue = 0;
            for (int sy = 0; sy < factor; ++sy) {
                const int *row = pixels + qsizetype(y * factor + sy) * stride + qsizetype(x) * factor;
                for (int sx = 0; sx < factor; ++sx) {
                    const uint32_t p = uint32_t(row[sx]);
                    const int a = 255 - int((p >> 24) & 0x7F) * 255 / 127;
                    alpha += a;
                    red += int((p >> 16) & 0xFF) * a;
                    green += int((p >> 8) & 0xFF) * a;
                    blue += int(p & 0xFF) * a;
                }
            }
            if (alpha == 0) {
                line[x] = qRgba(0, 0, 0, 0);
                continue;
            }
            // Rounded to the nearest, so one sample gives back its own value.
            line[x] = qRgba((red + alpha / 2) / alpha, (green + alpha / 2) / alpha, (blue + alpha / 2) / alpha,
                            (alpha + samples / 2) / samples);
        }
    }
    return image;
}

// gd draws a pen thinner than a pixel one pixel wide. Drawn larger, such a
// pen would shrink to a fraction of a pixel once averaged down and fade, so
// while a supersampled drawing plays every pen is kept at least as wide as
// one pixel of the final picture. Pictures are drawn on the GUI thread only.
struct PenFloor {
    double width = 0;   // in libwmf's device units
    double height = 0;
    wmfFunctionReference gd{};  // the gd device's own functions
};
PenFloor g_penFloor;

// Runs one of gd's drawing functions with the pen widened to the floor.
template <typename Info, void (*wmfFunctionReference::*Function)(wmfAPI *, Info *)>
void withPenFloor(wmfAPI *api, Info *info)
{
    wmfPen *pen = info->dc ? info->dc->pen : nullptr;
    if (!pen) {
        (g_penFloor.gd.*Function)(api, info);
        return;
    }
    const double width = pen->width, height = pen->height;
    pen->width = std::max(width, g_penFloor.width);
    pen->height = std::max(height, g_penFloor.height);
    (g_penFloor.gd.*Function)(api, info);
    pen->width = width;
    pen->height = height;
}

void floorPens(wmfAPI *api, double width, double height)
{
    auto *functions = static_cast<wmfFunctionReference *>(api->function_reference);
    g_penFloor.width = width;
    g_penFloor.height = height;
    g_penFloor.gd = *functions;
    using F = wmfFunctionReference;
    // A function the device leaves out stays out: the player then draws
    // with the others (polypolygons as polygons, say).
    auto wrap = [](auto &slot, auto wrapper) {
        if (slot)
            slot = wrapper;
    };
    wrap(functions->draw_pie, withPenFloor<wmfDrawArc_t, &F::draw_pie>);
    wrap(functions->draw_chord, withPenFloor<wmfDrawArc_t, &F::draw_chord>);
    wrap(functions->draw_arc, withPenFloor<wmfDrawArc_t, &F::draw_arc>);
    wrap(functions->draw_ellipse, withPenFloor<wmfDrawArc_t, &F::draw_ellipse>);
    wrap(functions->draw_line, withPenFloor<wmfDrawLine_t, &F::draw_line>);
    wrap(functions->poly_line, withPenFloor<wmfPolyLine_t, &F::poly_line>);
    wrap(functions->draw_polygon, withPenFloor<wmfPolyLine_t, &F::draw_polygon>);
    wrap(functions->draw_polypolygon, withPenFloor<wmfPolyPoly_t, &F::draw_polypolygon>);
    wrap(functions->draw_rectangle, withPenFloor<wmfDrawRectangle_t, &F::draw_rectangle>);
}

// Draws a checked metafile with libwmf into an image of exactly size pixels.
QImage renderMetafile(const QByteArray &checked, QSize size)
{
    wmfAPI *api = createGdInstance();
    if (!api)
        return {};
    struct Destroy {
        wmfAPI *api;
        ~Destroy() { wmf_api_destroy(api); }
    } destroy{api};
    shareFonts(api);

    // libwmf only reads the buffer, though its interface is not const.
    auto *data = reinterpret_cast<unsigned char *>(const_cast<char *>(checked.constData()));
    if (wmf_mem_open(api, data, long(checked.size())) != wmf_E_None)
        return {};
    wmfD_Rect bbox{};
    if (wmf_scan(api, 0, &bbox) != wmf_E_None)
        return {};
    const double width = double(bbox.BR.x) - double(bbox.TL.x);
    const double height = double(bbox.BR.y) - double(bbox.TL.y);
    // An empty, inverted or unbounded box has nothing to draw.
    if (!(std::min(width, height) > 0 && std::isfinite(width + height)))
        return {};
    const int factor = supersampleFor(size);
    wmf_gd_t *device = WMF_GD_GetData(api);
    device->type = wmf_gd_image;
    device->bbox = bbox;
    device->width = unsigned(size.width() * factor);
    device->height = unsigned(size.height() * factor);
    if (factor > 1)
        floorPens(api, width / size.width(), height / size.height());
    const wmf_error_t played = wmf_play(api, 0, &bbox);
    // The image is ours to free, whether or not the drawing went well.
    struct FreeImage {
        wmf_gd_t *device;
        ~FreeImage()
        {
            if (device->gd_image)
                gdImageDestroy(device->gd_image);
        }
    } freeImage{device};
    if (played != wmf_E_None || !device->gd_image)
        return {};
    const int *pixels = wmf_gd_image_pixels(device->gd_image);
    if (!pixels)
        return {};
    return averaged(pixels, size, factor);
}

} // namespace

// What was read from one file, shared by every Picture made from it.
class PictureSource {
public:
    PictureSource(QString path, QByteArray metafile, QImage raster)
        : m_path(std::move(path)), m_metafile(std::move(metafile)), m_raster(std::move(raster))
    {
    }

    const QString &path() const { return m_path; }
    // What it holds in memory: the file as read and the renderings kept.
    qint64 bytes() const { return m_metafile.size() + m_raster.sizeInBytes() + m_renderBytes; }

    QImage render(QSize size) const;

    const QString &cacheKey() const { return m_cacheKey; }

    // Renderings are kept only while the cache counts them, so that every
    // one kept is within its budget.
    void setCached(const QString &key, bool cached) const
    {
        m_cacheKey = cached ? key : QString();
        m_cached = cached;
        if (!cached) {
            m_renders.clear();
            m_renderBytes = 0;
        }
    }

private:
    QImage draw(QSize size) const
    {
        if (!m_metafile.isEmpty())
            return renderMetafile(m_metafile, size);
        return m_raster.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
            .convertToFormat(QImage::Format_ARGB32);
    }

    QString m_path;
    QByteArray m_metafile;  // checked, as libwmf reads it; empty for rasters
    QImage m_raster;
    // Most recently used first. Pictures are drawn on the GUI thread only.
    mutable std::list<QImage> m_renders;
    mutable qint64 m_renderBytes = 0;
    mutable bool m_cached = false;
    mutable QString m_cacheKey;
};

namespace {

// What tells one version of a file from another without reading it. Size and
// modification time alone do not: a file restored with its times kept, or
// rewritten within the same clock tick, keeps both. The inode changes when a
// file is replaced, the status change time whenever it is written or its
// times are set.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    timespec changed{};

    friend bool operator==(const FileIdentity &a, const FileIdentity &b)
    {
        const auto fields = [](const FileIdentity &f) {
            return std::tie(f.device, f.inode, f.size, f.modified.tv_sec, f.modified.tv_nsec, f.changed.tv_sec,
                            f.changed.tv_nsec);
        };
        return fields(a) == fields(b);
    }
};

std::optional<FileIdentity> identify(const QString &path)
{
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return std::nullopt;
    return FileIdentity{status.st_dev, status.st_ino, status.st_size, status.st_mtim, status.st_ctim};
}

// File times are taken from a clock that may lag the real one by a tick, and
// some file systems keep them to the second or two: a change within this
// long of a reading may leave every time as it was.
constexpr qint64 kTimeGrainNs = 2'000'000'000;

qint64 nanoseconds(const timespec &t)
{
    return qint64(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}

qint64 nowNanoseconds()
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return nanoseconds(now);
}

bool isRacy(const FileIdentity &identity, qint64 readAt)
{
    return nanoseconds(identity.changed) > readAt - kTimeGrainNs
        || nanoseconds(identity.modified) > readAt - kTimeGrainNs;
}

// The files read, most recently used first, within kCacheBytes of memory.
// (QCache cannot be used: its costs are fixed when an entry is inserted, and
// an entry grows with every rendering it keeps.)
class SourceCache {
public:
    struct Entry {
        QString key;
        FileIdentity identity;
        // Set while the file was changed too shortly before it was read for
        // its times to tell a later change apart: its contents then decide.
        QByteArray racyDigest;
        std::shared_ptr<const PictureSource> source;
        qint64 counted = 0;  // bytes of the source as last counted
    };

    Entry *find(const QString &key)
    {
        const auto it = m_index.find(key);
        if (it == m_index.end())
            return nullptr;
        m_entries.splice(m_entries.begin(), m_entries, *it);
        return &m_entries.front();
    }

    void insert(Entry entry)
    {
        remove(entry.key);
        entry.counted = entry.source->bytes();
        m_bytes += entry.counted;
        entry.source->setCached(entry.key, true);
        m_entries.push_front(std::move(entry));
        m_index.insert(m_entries.front().key, m_entries.begin());
        trim();
    }

    void remove(const QString &key)
    {
        const auto it = m_index.find(key);
        if (it == m_index.end())
            return;
        drop(*it);
    }

    // Counts a source's size again after its renderings changed.
    void recount(const PictureSource *source)
    {
        const auto it = m_index.find(source->cacheKey());
        if (it == m_index.end() || (*it)->source.get() != source)
            return;
        const qint64 now = source->bytes();
        m_bytes += now - (*it)->counted;
        (*it)->counted = now;
        trim();
    }

    void clear()
    {
        while (!m_entries.empty())
            drop(m_entries.begin());
    }

private:
    void drop(std::list<Entry>::iterator it)
    {
        m_bytes -= it->counted;
        it->source->setCached(it->key, false);
        m_index.remove(it->key);
        m_entries.erase(it);
    }

    void trim()
    {
        while (m_bytes > kCacheBytes && !m_entries.empty())
            drop(std::prev(m_entries.end()));
    }

    std::list<Entry> m_entries;
    QHash<QString, std::list<Entry>::iterator> m_index;
    qint64 m_bytes = 0;
};

SourceCache &cache()
{
    static SourceCache files;
    return files;
}

} // namespace

namespace {
qint64 g_drawCount = 0;
} // namespace

QImage PictureSource::render(QSize size) const
{
    for (auto it = m_renders.begin(); it != m_renders.end(); ++it) {
        if (it->size() == size) {
            m_renders.splice(m_renders.begin(), m_renders, it);
            return m_renders.front();
        }
    }
    QImage image = draw(size);
    ++g_drawCount;
    if (m_cached && !image.isNull() && qint64(size.width()) * size.height() <= kMaxKeptRenderPixels) {
        m_renders.push_front(image);
        m_renderBytes += image.sizeInBytes();
        if (int(m_renders.size()) > kRendersKept) {
            m_renderBytes -= m_renders.back().sizeInBytes();
            m_renders.pop_back();
        }
        cache().recount(this);
    }
    return image;
}

namespace {

std::optional<QByteArray> readFile(const QString &path, QString *why)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *why = file.errorString();
        return std::nullopt;
    }
    if (file.size() > kMaxMetafileBytes) {
        *why = tr("The file is too large for a picture.");
        return std::nullopt;
    }
    return file.readAll();
}

QByteArray digest(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

std::shared_ptr<const PictureSource> sourceFrom(const QString &path, const QByteArray &bytes, QString *why)
{
    if (looksLikeMetafile(bytes)) {
        // Only checked here: libwmf first sees the file when it is drawn, which
        // keeps dealing a hundred cards quick.
        QByteArray checked = checkedMetafile(bytes, why);
        if (checked.isEmpty())
            return {};
        return std::make_shared<PictureSource>(path, std::move(checked), QImage());
    }

    QBuffer buffer;
    buffer.setData(bytes);
    // The reader opens the buffer; a buffer has no name, so the format comes from the content.
    QImageReader reader(&buffer);
    // Decoded straight at the size kept where the format can (JPEG scales
    // while it decodes), so a camera picture of any size loads in little
    // memory; other formats are read whole, then reduced.
    const QSize announced = reader.size();
    if (announced.isValid() && std::max(announced.width(), announced.height()) > kMaxKeptRasterSide) {
        if (!reader.supportsOption(QImageIOHandler::ScaledSize)
            && qint64(announced.width()) * announced.height() * 4 > kMaxWholeRasterBytes) {
            *why = tr("The picture is too large.");
            return {};
        }
        reader.setScaledSize(announced.scaled(kMaxKeptRasterSide, kMaxKeptRasterSide, Qt::KeepAspectRatio));
    }
    QImage image = reader.read();
    if (image.isNull()) {
        *why = tr("The file is not a picture that can be shown: %1").arg(reader.errorString());
        return {};
    }
    return std::make_shared<PictureSource>(path, QByteArray(), std::move(image));
}

} // namespace

std::optional<Picture> Picture::load(const QString &path, QString *why)
{
    if (path.isEmpty())
        return Picture();
    QString reason;
    const QFileInfo info(path);
    // The reason only: the callers' messages name the file.
    if (!info.isFile()) {
        if (why)
            *why = info.exists() ? tr("It is not a regular file.") : tr("It does not exist.");
        return std::nullopt;
    }
    const QString key = info.absoluteFilePath();
    const auto identity = identify(key);
    const qint64 readAt = nowNanoseconds();
    SourceCache::Entry *entry = cache().find(key);
    if (entry && identity && entry->identity == *identity && entry->racyDigest.isEmpty())
        return Picture(entry->source, false);

    const auto bytes = readFile(path, &reason);
    const bool racy = identity && isRacy(*identity, readAt);
    if (entry && identity && bytes && entry->identity == *identity && entry->racyDigest == digest(*bytes)) {
        // The same contents: from now on a change shows in the file's times.
        if (!racy)
            entry->racyDigest.clear();
        return Picture(entry->source, false);
    }
    auto source = bytes ? sourceFrom(path, *bytes, &reason) : nullptr;
    if (!source || !identity) {
        cache().remove(key);
        if (why)
            *why = reason;
        return std::nullopt;
    }
    cache().insert({key, *identity, racy ? digest(*bytes) : QByteArray(), source});
    return Picture(std::move(source), false);
}

QString Picture::path() const
{
    return m_source ? m_source->path() : QString();
}

Picture Picture::turned() const
{
    return Picture(m_source, !m_turned);
}

QImage Picture::render(QSize size) const
{
    if (!m_source || size.isEmpty() || qint64(size.width()) * size.height() > kMaxRenderPixels)
        return {};
    const QImage upright = m_source->render(size);
    // Turning by 180 degrees is mirroring both ways: exact, pixel for pixel.
    return m_turned ? upright.mirrored(true, true) : upright;
}

void Picture::clearCache()
{
    cache().clear();
}

qint64 Picture::drawCount()
{
    return g_drawCount;
}

} // namespace vellara::platform
