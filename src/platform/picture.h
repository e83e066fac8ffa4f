#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <memory>
#include <optional>

namespace vellara::platform {

class PictureSource;

// A picture read from a file: a Windows Metafile, drawn from its vectors at
// whatever size it is shown, or a raster picture (BMP, JPEG, GIF, ...)
// scaled smoothly. A value type: copies share what was read.
class Picture {
public:
    // No picture; shows nothing.
    Picture() = default;

    // Reads a picture file. An empty path gives the null picture; a file that
    // cannot be read as a picture gives nothing, with the reason in *why.
    // Files read before are taken from a cache as long as they are the same
    // file (device and inode) with the same size and times.
    static std::optional<Picture> load(const QString &path, QString *why = nullptr);

    bool isNull() const { return !m_source; }
    // The file this was read from; empty for the null picture.
    QString path() const;
    bool isTurned() const { return m_turned; }

    // The same picture turned by 180 degrees (turning twice gives it back).
    Picture turned() const;

    // The picture stretched to exactly size pixels, without keeping its
    // aspect ratio. The null picture, or a size too large to draw, gives a
    // null image.
    QImage render(QSize size) const;

    // Largest picture render() draws, in pixels.
    static constexpr qint64 kMaxRenderPixels = 8192LL * 8192LL;

    // Forgets every cached file and rendering (for tests and benchmarks).
    static void clearCache();
    // How many drawings were made rather than taken from the cache (for
    // tests and benchmarks).
    static qint64 drawCount();

    friend bool operator==(const Picture &a, const Picture &b)
    {
        return a.m_source == b.m_source && a.m_turned == b.m_turned;
    }

private:
    Picture(std::shared_ptr<const PictureSource> source, bool turned)
        : m_source(std::move(source)), m_turned(turned)
    {
    }

    std::shared_ptr<const PictureSource> m_source;
    bool m_turned = false;
};

} // namespace vellara::platform
