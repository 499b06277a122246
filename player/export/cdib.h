// cDIB: a bitmap file (.bmp) loaded into memory as one packed device-independent
// bitmap, for the AVI writer. The file is checked before anything of it is
// used: a header, colour table or pixel block that runs past the end of the
// file is refused like a wrong signature.
#pragma once

#include "platform/message_service.h"

#include <QString>

#include <cstdint>
#include <vector>

namespace pelix::player {

class cDIB {
  public:
    // Messages go out in boxes titled `appTitle`.
    explicit cDIB(QString appTitle = QString());

    // Loads `filename`; false (after telling the user) when it does not exist,
    // cannot be read or is not a bitmap this program can write to video.
    bool CreateFromFile(const QString& filename);

    int32_t Width() const { return m_width; }
    int32_t Height() const { return m_height; } // negative: rows stored top-down
    uint32_t SizeImage() const { return m_sizeImage; }
    const uint8_t* PointerToBits() const { return m_file.data() + m_bitOffset; }
    const uint8_t* PointerToBitmapInfo() const { return m_file.data() + kSizeFileHeader; }
    uint32_t SizeBitmapInfo() const { return m_sizeBitmapInfo; }
    uint16_t BitCount() const { return m_bitCount; }
    uint16_t Planes() const { return m_planes; }
    uint32_t Compression() const { return m_compression; }
    int32_t XPPM() const { return m_xppm; }
    int32_t YPPM() const { return m_yppm; }
    uint32_t ClrUsed() const { return m_clrUsed; }
    uint32_t ClrImportant() const { return m_clrImportant; }
    uint32_t SizeInfoHeader() const { return m_sizeInfoHeader; }
    static constexpr uint32_t SizeFileHeader() { return kSizeFileHeader; }
    uint16_t FileType() const { return m_fileType; }
    uint32_t BitOffset() const { return m_bitOffset; }

    static constexpr uint16_t kBitmapSignature = 19778; // "BM"

  private:
    static constexpr uint32_t kSizeFileHeader = 14;
    bool parse();
    void tell(const QString& text, platform::MessageIcon icon, const QString& filename) const;

    QString m_appTitle;
    std::vector<uint8_t> m_file; // kept between loads, so a capture per frame allocates nothing
    int32_t m_width = 0, m_height = 0;
    uint32_t m_sizeImage = 0, m_sizeBitmapInfo = 0, m_compression = 0, m_clrUsed = 0, m_clrImportant = 0;
    uint32_t m_sizeInfoHeader = 0, m_bitOffset = 0;
    uint16_t m_bitCount = 0, m_planes = 0, m_fileType = 0;
    int32_t m_xppm = 0, m_yppm = 0;
};

} // namespace pelix::player
