#include "core/exif/CzechTagTable.h"

namespace lumatrim {

// Czech names and value formats of the tag dictionaries, row for row beside
// MainTagTable and GpsTagTable. Columns: Tag, Name, Format, Technical,
// DecodeList; the comment names the English row.
// clang-format off
constexpr CzechTagRow CzechMainTagTable[kMainTagRows] = {
    {0x0001, "Index interoperability",                        CzechFormat::Text,         true , ""},  // InteroperabilityIndex
    {0x0002, "Verze interoperability",                        CzechFormat::Text,         true , ""},  // InteroperabilityVersion
    {0x000B, "Komentář (ACD)",                                CzechFormat::Text,         false, ""},  // ACDComment
    {0x00FE, "Typ podsouboru",                                CzechFormat::Text,         true , ""},  // NewSubfileType
    {0x00FF, "Typ podsouboru (starý)",                        CzechFormat::Text,         true , ""},  // SubfileType
    {0x0100, "Šířka obrázku",                                 CzechFormat::Number,       false, ""},  // ImageWidth
    {0x0101, "Výška obrázku",                                 CzechFormat::Number,       false, ""},  // ImageLength
    {0x0102, "Bitů na vzorek",                                CzechFormat::Text,         true , ""},  // BitsPerSample
    {0x0103, "Komprese",                                      CzechFormat::Decoded,      true , "1:Bez komprese,3:CCITT T.4,6:JPEG"},  // Compression
    {0x0106, "Barevný model",                                 CzechFormat::Decoded,      true , "1:Černobílý,2:RGB,6:YCbCr"},  // PhotometricInterpretation
    {0x010A, "Pořadí bitů",                                   CzechFormat::Text,         true , ""},  // FillOrder
    {0x010D, "Název dokumentu",                               CzechFormat::Text,         false, ""},  // DocumentName
    {0x010E, "Popis obrázku",                                 CzechFormat::Text,         false, ""},  // ImageDescription
    {0x010F, "Výrobce fotoaparátu",                           CzechFormat::Text,         false, ""},  // Make
    {0x0110, "Model fotoaparátu",                             CzechFormat::Text,         false, ""},  // Model
    {0x0111, "Pozice pruhů",                                  CzechFormat::Text,         true , ""},  // StripOffsets
    {0x0112, "Orientace",                                     CzechFormat::Decoded,      false, "1:Normální,2:Zrcadlově vodorovně,3:Otočeno o 180°,4:Zrcadlově svisle,5:Zrcadlově a otočit o 90° doprava,6:Otočit o 90° doprava,7:Zrcadlově a otočit o 90° doleva,8:Otočit o 90° doleva"},  // Orientation
    {0x0115, "Vzorků na pixel",                               CzechFormat::Text,         true , ""},  // SamplesPerPixel
    {0x0116, "Řádků na pruh",                                 CzechFormat::Text,         true , ""},  // RowsPerStrip
    {0x0117, "Bajtů v pruzích",                               CzechFormat::Text,         true , ""},  // StripByteCounts
    {0x0118, "Nejmenší hodnota vzorku",                       CzechFormat::Text,         true , ""},  // MinSampleValue
    {0x0119, "Největší hodnota vzorku",                       CzechFormat::Text,         true , ""},  // MaxSampleValue
    {0x011A, "Vodorovné rozlišení",                           CzechFormat::Number,       false, ""},  // XResolution
    {0x011B, "Svislé rozlišení",                              CzechFormat::Number,       false, ""},  // YResolution
    {0x011C, "Uspořádání dat",                                CzechFormat::Text,         true , ""},  // PlanarConfiguration
    {0x011D, "Název stránky",                                 CzechFormat::Text,         false, ""},  // PageName
    {0x011E, "Vodorovná poloha",                              CzechFormat::Number,       false, ""},  // XPosition
    {0x011F, "Svislá poloha",                                 CzechFormat::Number,       false, ""},  // YPosition
    {0x0120, "Pozice volných bloků",                          CzechFormat::Text,         true , ""},  // FreeOffsets
    {0x0121, "Bajtů ve volných blocích",                      CzechFormat::Text,         true , ""},  // FreeByteCounts
    {0x0122, "Jednotka odezvy šedi",                          CzechFormat::Text,         true , ""},  // GrayReponseUnit
    {0x0123, "Křivka odezvy šedi",                            CzechFormat::Text,         true , ""},  // GrayReponseCurve
    {0x0124, "Volby T4",                                      CzechFormat::Text,         true , ""},  // T4Options
    {0x0125, "Volby T6",                                      CzechFormat::Text,         true , ""},  // T6Options
    {0x0128, "Jednotka rozlišení",                            CzechFormat::Decoded,      false, "1:Neuvedeno,2:palec,3:centimetr"},  // ResolutionUnit
    {0x0129, "Číslo stránky",                                 CzechFormat::Text,         false, ""},  // PageNumber
    {0x012D, "Přenosová funkce",                              CzechFormat::Text,         true , ""},  // TransferFunction
    {0x0131, "Software",                                      CzechFormat::Text,         false, ""},  // Software
    {0x0132, "Datum změny",                                   CzechFormat::DateTime,     false, ""},  // DateTime
    {0x013B, "Autor",                                         CzechFormat::Text,         false, ""},  // Artist
    {0x013C, "Počítač",                                       CzechFormat::Text,         false, ""},  // HostComputer
    {0x013D, "Prediktor",                                     CzechFormat::Text,         true , ""},  // Predictor
    {0x013E, "Bílý bod",                                      CzechFormat::Number,       true , ""},  // WhitePoint
    {0x013F, "Primární barvy",                                CzechFormat::Number,       true , ""},  // PrimaryChromaticities
    {0x0140, "Paleta barev",                                  CzechFormat::Text,         true , ""},  // ColorMap
    {0x0141, "Rozsah polotónů",                               CzechFormat::Text,         true , ""},  // HalfToneHints
    {0x0142, "Šířka dlaždice",                                CzechFormat::Text,         true , ""},  // TileWidth
    {0x0143, "Výška dlaždice",                                CzechFormat::Text,         true , ""},  // TileLength
    {0x0144, "Pozice dlaždic",                                CzechFormat::Text,         true , ""},  // TileOffsets
    {0x0145, "Bajtů v dlaždicích",                            CzechFormat::Text,         true , ""},  // TileByteCounts
    {0x014A, "Pozice podadresářů",                            CzechFormat::Text,         true , ""},  // SubIFDs
    {0x014C, "Sada inkoustů",                                 CzechFormat::Text,         true , ""},  // InkSet
    {0x014D, "Názvy inkoustů",                                CzechFormat::Text,         true , ""},  // InkNames
    {0x014E, "Počet inkoustů",                                CzechFormat::Text,         true , ""},  // NumberOfInks
    {0x0150, "Rozsah bodů",                                   CzechFormat::Text,         true , ""},  // DotRange
    {0x0151, "Cílová tiskárna",                               CzechFormat::Text,         false, ""},  // TargetPrinter
    {0x0152, "Doplňkové vzorky",                              CzechFormat::Text,         true , ""},  // ExtraSample
    {0x0153, "Formát vzorků",                                 CzechFormat::Text,         true , ""},  // SampleFormat
    {0x0154, "Nejmenší hodnota vzorku se znaménkem",          CzechFormat::Text,         true , ""},  // SMinSampleValue
    {0x0155, "Největší hodnota vzorku se znaménkem",          CzechFormat::Text,         true , ""},  // SMaxSampleValue
    {0x0156, "Přenosový rozsah",                              CzechFormat::Text,         true , ""},  // TransferRange
    {0x0157, "Ořezová cesta",                                 CzechFormat::Text,         true , ""},  // ClipPath
    {0x0158, "Vodorovné jednotky ořezové cesty",              CzechFormat::Text,         true , ""},  // XClipPathUnits
    {0x0159, "Svislé jednotky ořezové cesty",                 CzechFormat::Text,         true , ""},  // YClipPathUnits
    {0x015A, "Indexované barvy",                              CzechFormat::Text,         true , ""},  // Indexed
    {0x015B, "Tabulky JPEG",                                  CzechFormat::Text,         true , ""},  // JPEGTables
    {0x015F, "Náhled OPI",                                    CzechFormat::Text,         true , ""},  // OPIProxy
    {0x0200, "Proces JPEG",                                   CzechFormat::Text,         true , ""},  // JPEGProc
    {0x0201, "Pozice miniatury",                              CzechFormat::Text,         true , ""},  // JPEGInterchangeFormat
    {0x0202, "Bajtů miniatury",                               CzechFormat::Text,         true , ""},  // JPEGInterchangeFormatLength
    {0x0203, "Interval restartů JPEG",                        CzechFormat::Text,         true , ""},  // JPEGRestartInterval
    {0x0205, "Bezeztrátové prediktory JPEG",                  CzechFormat::Text,         true , ""},  // JPEGLosslessPredictors
    {0x0206, "Bodové transformace JPEG",                      CzechFormat::Text,         true , ""},  // JPEGPointTransforms
    {0x0207, "Kvantizační tabulky JPEG",                      CzechFormat::Text,         true , ""},  // JPEGQTables
    {0x0208, "Tabulky DC JPEG",                               CzechFormat::Text,         true , ""},  // JPEGDCTables
    {0x0209, "Tabulky AC JPEG",                               CzechFormat::Text,         true , ""},  // JPEGACTables
    {0x0211, "Koeficienty YCbCr",                             CzechFormat::Number,       true , ""},  // YCbCrCoefficients
    {0x0212, "Podvzorkování YCbCr",                           CzechFormat::Text,         true , ""},  // YCbCrSubSampling
    {0x0213, "Umístění YCbCr",                                CzechFormat::Decoded,      true , "1:Na střed,2:Společně"},  // YCbCrPositioning
    {0x0214, "Referenční černá a bílá",                       CzechFormat::Number,       true , ""},  // ReferenceBlackWhite
    {0x02BC, "Data XMP",                                      CzechFormat::Text,         true , ""},  // ExtensibleMetadataPlatform
    {0x0301, "Gama",                                          CzechFormat::Number,       false, ""},  // Gamma
    {0x0302, "Popis profilu ICC",                             CzechFormat::Text,         false, ""},  // ICCProfileDescriptor
    {0x0303, "Způsob převodu sRGB",                           CzechFormat::Text,         false, ""},  // SRGBRenderingIntent
    {0x0304, "Název obrázku",                                 CzechFormat::Text,         false, ""},  // ImageTitle
    {0x1000, "Formát souvisejícího obrázku",                  CzechFormat::Text,         false, ""},  // RelatedImageFileFormat
    {0x1001, "Šířka souvisejícího obrázku",                   CzechFormat::Number,       false, ""},  // RelatedImageWidth
    {0x1002, "Výška souvisejícího obrázku",                   CzechFormat::Number,       false, ""},  // RelatedImageHeight
    {0x5001, "Jednotka vodorovného rozlišení",                CzechFormat::Text,         true , ""},  // ResolutionXUnit
    {0x5002, "Jednotka svislého rozlišení",                   CzechFormat::Text,         true , ""},  // ResolutionYUnit
    {0x5003, "Délková jednotka vodorovného rozlišení",        CzechFormat::Text,         true , ""},  // ResolutionXLengthUnit
    {0x5004, "Délková jednotka svislého rozlišení",           CzechFormat::Text,         true , ""},  // ResolutionYLengthUnit
    {0x5005, "Příznaky tisku",                                CzechFormat::Text,         true , ""},  // PrintFlags
    {0x5006, "Verze příznaků tisku",                          CzechFormat::Text,         true , ""},  // PrintFlagsVersion
    {0x5007, "Ořez při tisku",                                CzechFormat::Text,         true , ""},  // PrintFlagsCrop
    {0x5008, "Spadávka při tisku",                            CzechFormat::Text,         true , ""},  // PrintFlagsBleedWidth
    {0x5009, "Měřítko spadávky",                              CzechFormat::Text,         true , ""},  // PrintFlagsBleedWidthScale
    {0x500A, "Hustota rastru polotónů",                       CzechFormat::Text,         true , ""},  // HalftoneLPI
    {0x500B, "Jednotka hustoty rastru",                       CzechFormat::Text,         true , ""},  // HalftoneLPIUnit
    {0x500C, "Úhel rastru polotónů",                          CzechFormat::Text,         true , ""},  // HalftoneDegree
    {0x500D, "Tvar bodu polotónů",                            CzechFormat::Text,         true , ""},  // HalftoneShape
    {0x500E, "Ostatní nastavení polotónů",                    CzechFormat::Text,         true , ""},  // HalftoneMisc
    {0x500F, "Rastr polotónů",                                CzechFormat::Text,         true , ""},  // HalftoneScreen
    {0x5010, "Kvalita JPEG",                                  CzechFormat::Text,         false, ""},  // JPEGQuality
    {0x5011, "Velikost mřížky",                               CzechFormat::Text,         true , ""},  // GridSize
    {0x5012, "Formát miniatury",                              CzechFormat::Text,         true , ""},  // ThumbnailFormat
    {0x5013, "Šířka miniatury",                               CzechFormat::Number,       false, ""},  // ThumbnailWidth
    {0x5014, "Výška miniatury",                               CzechFormat::Number,       false, ""},  // ThumbnailHeight
    {0x5015, "Barevná hloubka miniatury",                     CzechFormat::Text,         true , ""},  // ThumbnailColorDepth
    {0x5016, "Roviny miniatury",                              CzechFormat::Text,         true , ""},  // ThumbnailPlanes
    {0x5017, "Bajtů dat miniatury",                           CzechFormat::Text,         true , ""},  // ThumbnailRawBytes
    {0x5018, "Velikost miniatury",                            CzechFormat::Text,         true , ""},  // ThumbnailSize
    {0x5019, "Komprimovaná velikost miniatury",               CzechFormat::Text,         true , ""},  // ThumbnailCompressedSize
    {0x501A, "Barevná přenosová funkce",                      CzechFormat::Text,         true , ""},  // ColorTransferFunction
    {0x501B, "Data miniatury",                                CzechFormat::Text,         true , ""},  // ThumbnailData
    {0x5020, "Šířka obrázku miniatury",                       CzechFormat::Number,       false, ""},  // ThumbnailImageWidth
    {0x5021, "Výška obrázku miniatury",                       CzechFormat::Number,       false, ""},  // ThumbnailImageHeight
    {0x5022, "Bitů na vzorek miniatury",                      CzechFormat::Text,         true , ""},  // ThumbnailBitsPerSample
    {0x5023, "Komprese miniatury",                            CzechFormat::Text,         true , ""},  // ThumbnailCompression
    {0x5024, "Barevný model miniatury",                       CzechFormat::Text,         true , ""},  // ThumbnailPhotometricInterp
    {0x5025, "Popis miniatury",                               CzechFormat::Text,         false, ""},  // ThumbnailImageDescription
    {0x5026, "Výrobce fotoaparátu (miniatura)",               CzechFormat::Text,         false, ""},  // ThumbnailEquipMake
    {0x5027, "Model fotoaparátu (miniatura)",                 CzechFormat::Text,         false, ""},  // ThumbnailEquipModel
    {0x5028, "Pozice pruhů miniatury",                        CzechFormat::Text,         true , ""},  // ThumbnailStripOffsets
    {0x5029, "Orientace miniatury",                           CzechFormat::Text,         false, ""},  // ThumbnailOrientation
    {0x502A, "Vzorků na pixel miniatury",                     CzechFormat::Text,         true , ""},  // ThumbnailSamplesPerPixel
    {0x502B, "Řádků na pruh miniatury",                       CzechFormat::Text,         true , ""},  // ThumbnailRowsPerStrip
    {0x502C, "Bajtů v pruzích miniatury",                     CzechFormat::Text,         true , ""},  // ThumbnailStripBytesCount
    {0x502D, "Vodorovné rozlišení miniatury",                 CzechFormat::Number,       false, ""},  // ThumbnailResolutionX
    {0x502E, "Svislé rozlišení miniatury",                    CzechFormat::Number,       false, ""},  // ThumbnailResolutionY
    {0x502F, "Uspořádání dat miniatury",                      CzechFormat::Text,         true , ""},  // ThumbnailPlanarConfig
    {0x5030, "Jednotka rozlišení miniatury",                  CzechFormat::Text,         false, ""},  // ThumbnailResolutionUnit
    {0x5031, "Přenosová funkce miniatury",                    CzechFormat::Text,         true , ""},  // ThumbnailTransferFunction
    {0x5032, "Software (miniatura)",                          CzechFormat::Text,         false, ""},  // ThumbnailSoftwareUsed
    {0x5033, "Datum miniatury",                               CzechFormat::DateTime,     false, ""},  // ThumbnailDateTime
    {0x5034, "Autor (miniatura)",                             CzechFormat::Text,         false, ""},  // ThumbnailArtist
    {0x5035, "Bílý bod miniatury",                            CzechFormat::Number,       true , ""},  // ThumbnailWhitePoint
    {0x5036, "Primární barvy miniatury",                      CzechFormat::Number,       true , ""},  // ThumbnailPrimaryChromaticities
    {0x5037, "Koeficienty YCbCr miniatury",                   CzechFormat::Number,       true , ""},  // ThumbnailYCbCrCoefficients
    {0x5038, "Podvzorkování YCbCr miniatury",                 CzechFormat::Text,         true , ""},  // ThumbnailYCbCrSubsampling
    {0x5039, "Umístění YCbCr miniatury",                      CzechFormat::Text,         true , ""},  // ThumbnailYCbCrPositioning
    {0x503A, "Referenční černá a bílá miniatury",             CzechFormat::Number,       true , ""},  // ThumbnailRefBlackWhite
    {0x503B, "Copyright (miniatura)",                         CzechFormat::Text,         false, ""},  // ThumbnailCopyRight
    {0x5090, "Tabulka jasu",                                  CzechFormat::Text,         true , ""},  // LuminanceTable
    {0x5091, "Tabulka barevnosti",                            CzechFormat::Text,         true , ""},  // ChrominanceTable
    {0x5100, "Prodleva snímku",                               CzechFormat::Text,         false, ""},  // FrameDelay
    {0x5101, "Počet opakování",                               CzechFormat::Text,         false, ""},  // LoopCount
    {0x5110, "Jednotka pixelu",                               CzechFormat::Text,         true , ""},  // PixelUnit
    {0x5111, "Pixelů na jednotku vodorovně",                  CzechFormat::Text,         true , ""},  // PixelPerUnitX
    {0x5112, "Pixelů na jednotku svisle",                     CzechFormat::Text,         true , ""},  // PixelPerUnitY
    {0x5113, "Histogram palety",                              CzechFormat::Text,         true , ""},  // PaletteHistogram
    {0x800D, "Identifikátor obrázku",                         CzechFormat::Text,         false, ""},  // ImageID
    {0x80E3, "Maska",                                         CzechFormat::Text,         true , ""},  // Matteing
    {0x80E4, "Datový typ",                                    CzechFormat::Text,         true , ""},  // DataType
    {0x80E5, "Hloubka obrázku",                               CzechFormat::Text,         true , ""},  // ImageDepth
    {0x80E6, "Hloubka dlaždice",                              CzechFormat::Text,         true , ""},  // TileDepth
    {0x828D, "Rozměr vzoru barevného filtru",                 CzechFormat::Text,         true , ""},  // CFARepeatPatternDim
    {0x828E, "Vzor barevného filtru",                         CzechFormat::Text,         true , ""},  // CFAPattern
    {0x828F, "Stav baterie",                                  CzechFormat::Text,         false, ""},  // BatteryLevel
    {0x8298, "Copyright",                                     CzechFormat::Text,         false, ""},  // Copyright
    {0x829A, "Expoziční čas",                                 CzechFormat::ExposureTime, false, ""},  // ExposureTime
    {0x829D, "Clona",                                         CzechFormat::FNumber,      false, ""},  // FNumber
    {0x83BB, "Data IPTC",                                     CzechFormat::Text,         true , ""},  // IPTC/NAA
    {0x84E3, "Zarovnání rastru IT8",                          CzechFormat::Text,         true , ""},  // IT8RasterPadding
    {0x84E5, "Tabulka barev IT8",                             CzechFormat::Text,         true , ""},  // IT8ColorTable
    {0x8649, "Zdroje Photoshopu",                             CzechFormat::Text,         true , ""},  // ImageResourceInformation
    {0x8769, "Pozice EXIF",                                   CzechFormat::Text,         true , ""},  // ExifOffset
    {0x8773, "Profil ICC",                                    CzechFormat::Text,         true , ""},  // InterColorProfile
    {0x8822, "Expoziční program",                             CzechFormat::Decoded,      false, "0:Neurčeno,1:Ruční,2:Normální program,3:Priorita clony,4:Priorita času,5:Kreativní (hloubka ostrosti),6:Akční (krátký čas),7:Portrét,8:Krajina"},  // ExposureProgram
    {0x8824, "Spektrální citlivost",                          CzechFormat::Text,         false, ""},  // SpectralSensitivity
    {0x8825, "Pozice GPS",                                    CzechFormat::Text,         true , ""},  // GPSInfo
    {0x8827, "Citlivost ISO",                                 CzechFormat::Iso,          false, ""},  // ISOSpeedRatings
    {0x8828, "Optoelektrická převodní funkce",                CzechFormat::Text,         true , ""},  // OECF
    {0x8829, "Prokládání",                                    CzechFormat::Text,         true , ""},  // Interlace
    {0x882A, "Časové pásmo",                                  CzechFormat::Text,         false, ""},  // TimeZoneOffset
    {0x882B, "Samospoušť",                                    CzechFormat::Text,         false, ""},  // SelfTimerMode
    {0x9000, "Verze EXIF",                                    CzechFormat::Text,         true , ""},  // ExifVersion
    {0x9003, "Datum pořízení",                                CzechFormat::DateTime,     false, ""},  // DateTimeOriginal
    {0x9004, "Datum digitalizace",                            CzechFormat::DateTime,     false, ""},  // DateTimeDigitized
    {0x9101, "Uspořádání složek",                             CzechFormat::Text,         true , ""},  // ComponentsConfiguration
    {0x9102, "Komprese (bitů na pixel)",                      CzechFormat::Number,       false, ""},  // CompressedBitsPerPixel
    {0x9201, "Rychlost závěrky",                              CzechFormat::ApexShutter,  false, ""},  // ShutterSpeedValue
    {0x9202, "Clonové číslo",                                 CzechFormat::ApexAperture, false, ""},  // ApertureValue
    {0x9203, "Jas",                                           CzechFormat::Number,       false, ""},  // BrightnessValue
    {0x9204, "Korekce expozice",                              CzechFormat::ExposureBias, false, ""},  // ExposureBiasValue
    {0x9205, "Největší clona objektivu",                      CzechFormat::ApexAperture, false, ""},  // MaxApertureValue
    {0x9206, "Vzdálenost objektu",                            CzechFormat::Distance,     false, ""},  // SubjectDistance
    {0x9207, "Režim měření",                                  CzechFormat::Decoded,      false, "0:Neznámý,1:Průměrové,2:Zdůrazněný střed,3:Bodové,4:Vícebodové,5:Maticové,6:Částečné,255:Jiné"},  // MeteringMode
    {0x9208, "Zdroj světla",                                  CzechFormat::Decoded,      false, "0:Neurčeno,1:Denní světlo,2:Zářivka,3:Žárovka,4:Blesk,9:Jasno,10:Zataženo,11:Stín,17:Normalizované světlo A,18:Normalizované světlo B,19:Normalizované světlo C,255:Jiný"},  // LightSource
    {0x9209, "Blesk",                                         CzechFormat::Flash,        false, ""},  // Flash
    {0x920A, "Ohnisková vzdálenost",                          CzechFormat::FocalLength,  false, ""},  // FocalLength
    {0x920B, "Energie blesku",                                CzechFormat::Number,       false, ""},  // FlashEnergy
    {0x920C, "Prostorová frekvenční odezva",                  CzechFormat::Text,         true , ""},  // SpatialFrequencyResponse
    {0x920D, "Šum",                                           CzechFormat::Text,         false, ""},  // Noise
    {0x920E, "Vodorovné rozlišení snímače",                   CzechFormat::Number,       false, ""},  // FocalPlaneXResolution
    {0x920F, "Svislé rozlišení snímače",                      CzechFormat::Number,       false, ""},  // FocalPlaneYResolution
    {0x9210, "Jednotka rozlišení snímače",                    CzechFormat::Decoded,      false, "1:Neuvedeno,2:palec,3:centimetr"},  // FocalPlaneResolutionUnit
    {0x9211, "Číslo snímku",                                  CzechFormat::Text,         false, ""},  // ImageNumber
    {0x9212, "Stupeň utajení",                                CzechFormat::Text,         false, ""},  // SecurityClassification
    {0x9213, "Historie úprav",                                CzechFormat::Text,         false, ""},  // ImageHistory
    {0x9214, "Poloha objektu",                                CzechFormat::Text,         false, ""},  // SubjectLocation
    {0x9215, "Expoziční index",                               CzechFormat::Number,       false, ""},  // ExposureIndex
    {0x9216, "Verze TIFF/EP",                                 CzechFormat::Text,         true , ""},  // TIFF/EPStandardID
    {0x9217, "Typ snímače",                                   CzechFormat::Decoded,      false, "0:Neurčeno,1:Černobílý plošný,2:Jednočipový barevný plošný,3:Dvoučipový barevný plošný,4:Tříčipový barevný plošný,5:Barevný sekvenční plošný,6:Černobílý řádkový,7:Trilineární,8:Barevný sekvenční řádkový"},  // SensingMethod
    {0x923F, "Převod na nity",                                CzechFormat::Text,         true , ""},  // StoNits
    {0x927C, "Data výrobce",                                  CzechFormat::Text,         true , ""},  // MakerNote
    {0x9286, "Komentář",                                      CzechFormat::Text,         false, ""},  // UserComment
    {0x9290, "Zlomky sekundy (změna)",                        CzechFormat::Text,         false, ""},  // SubSecTime
    {0x9291, "Zlomky sekundy (pořízení)",                     CzechFormat::Text,         false, ""},  // SubSecTimeOriginal
    {0x9292, "Zlomky sekundy (digitalizace)",                 CzechFormat::Text,         false, ""},  // SubSecTimeDigitized
    {0x953C, "Zdrojová data obrázku",                         CzechFormat::Text,         true , ""},  // ImageSourceData
    {0x9C9B, "Název",                                         CzechFormat::Text,         false, ""},  // Title
    {0x9C9C, "Poznámky",                                      CzechFormat::Text,         false, ""},  // Comments
    {0x9C9D, "Autor (Windows)",                               CzechFormat::Text,         false, ""},  // Author
    {0x9C9E, "Klíčová slova (Windows)",                       CzechFormat::Text,         false, ""},  // Keywords
    {0x9C9F, "Předmět",                                       CzechFormat::Text,         false, ""},  // Subject
    {0xA000, "Verze FlashPix",                                CzechFormat::Text,         true , ""},  // FlashPixVersion
    {0xA001, "Barevný prostor",                               CzechFormat::Decoded,      false, "0:Černobílý,1:sRGB,65535:Nekalibrováno"},  // ColorSpace
    {0xA002, "Šířka snímku",                                  CzechFormat::Number,       false, ""},  // ExifImageWidth
    {0xA003, "Výška snímku",                                  CzechFormat::Number,       false, ""},  // ExifImageLength
    {0xA004, "Zvukový záznam",                                CzechFormat::Text,         false, ""},  // RelatedSoundFile
    {0xA005, "Pozice interoperability",                       CzechFormat::Text,         true , ""},  // InteroperabilityOffset
    {0xA20B, "Energie blesku",                                CzechFormat::Number,       false, ""},  // FlashEnergy
    {0xA20C, "Prostorová frekvenční odezva",                  CzechFormat::Text,         true , ""},  // SpatialFrequencyResponse
    {0xA20E, "Vodorovné rozlišení snímače",                   CzechFormat::Number,       false, ""},  // FocalPlaneXResolution
    {0xA20F, "Svislé rozlišení snímače",                      CzechFormat::Number,       false, ""},  // FocalPlaneYResolution
    {0xA210, "Jednotka rozlišení snímače",                    CzechFormat::Decoded,      false, "1:Neuvedeno,2:palec,3:centimetr"},  // FocalPlaneResolutionUnit
    {0xA211, "Číslo snímku",                                  CzechFormat::Text,         false, ""},  // ImageNumber
    {0xA212, "Stupeň utajení",                                CzechFormat::Text,         false, ""},  // SecurityClassification
    {0xA213, "Historie úprav",                                CzechFormat::Text,         false, ""},  // ImageHistory
    {0xA214, "Poloha objektu",                                CzechFormat::Text,         false, ""},  // SubjectLocation
    {0xA215, "Expoziční index",                               CzechFormat::Number,       false, ""},  // ExposureIndex
    {0xA216, "Verze TIFF/EP",                                 CzechFormat::Text,         true , ""},  // TIFF/EPStandardID
    {0xA217, "Typ snímače",                                   CzechFormat::Decoded,      false, "0:Neurčeno,1:Černobílý plošný,2:Jednočipový barevný plošný,3:Dvoučipový barevný plošný,4:Tříčipový barevný plošný,5:Barevný sekvenční plošný,6:Černobílý řádkový,7:Trilineární,8:Barevný sekvenční řádkový"},  // SensingMethod
    {0xA300, "Zdroj snímku",                                  CzechFormat::Decoded,      false, "0:Jiný,1:Filmový skener,2:Skener předloh,3:Digitální fotoaparát"},  // FileSource
    {0xA301, "Typ scény",                                     CzechFormat::Decoded,      false, "0:Neznámý,1:Přímo vyfotografováno"},  // SceneType
    {0xA302, "Vzor barevného filtru",                         CzechFormat::Text,         true , ""},  // CFAPattern
    {0xA401, "Zpracování obrazu",                             CzechFormat::Decoded,      false, "0:Běžné,1:Vlastní"},  // CustomRendered
    {0xA402, "Režim expozice",                                CzechFormat::Decoded,      false, "0:Automatický,1:Ruční,2:Automatická řada expozic"},  // ExposureMode
    {0xA403, "Vyvážení bílé",                                 CzechFormat::Decoded,      false, "0:Automatické,1:Ruční"},  // WhiteBalance
    {0xA404, "Digitální zoom",                                CzechFormat::ZoomRatio,    false, ""},  // DigitalZoomRatio
    {0xA405, "Ohnisko v ekv. 35 mm",                          CzechFormat::FocalLength35, false, ""},  // FocalLengthin35mmFilm
    {0xA406, "Typ záběru",                                    CzechFormat::Decoded,      false, "0:Standardní,1:Krajina,2:Portrét,3:Noční scéna"},  // SceneCaptureType
    {0xA407, "Zesílení",                                      CzechFormat::Decoded,      false, "0:Žádné,1:Mírné zesílení,2:Silné zesílení,3:Mírné zeslabení,4:Silné zeslabení"},  // GainControl
    {0xA408, "Kontrast",                                      CzechFormat::Decoded,      false, "0:Normální,1:Nízký,2:Vysoký"},  // Contrast
    {0xA409, "Sytost",                                        CzechFormat::Decoded,      false, "0:Normální,1:Nízká,2:Vysoká"},  // Saturation
    {0xA40A, "Ostrost",                                       CzechFormat::Decoded,      false, "0:Normální,1:Nízká,2:Vysoká"},  // Sharpness
    {0xA40B, "Popis nastavení přístroje",                     CzechFormat::Text,         true , ""},  // DeviceSettingDescription
    {0xA40C, "Vzdálenost objektu (rozsah)",                   CzechFormat::Decoded,      false, "0:Neznámá,1:Makro,2:Blízko,3:Daleko"},  // SubjectDistanceRange
    {0xA420, "Jedinečné ID snímku",                           CzechFormat::Text,         false, "0:Blízký pohled,1:Vzdálený pohled"},  // ImageUniqueID
    {0x0000, "Neznámá položka",                               CzechFormat::Text,         false, ""},  // Unknown
};

constexpr CzechTagRow CzechGpsTagTable[kGpsTagRows] = {
    {0x00, "Verze GPS",                                     CzechFormat::Text,         true , ""},  // GPSVersionID
    {0x01, "Polokoule zeměpisné šířky",                     CzechFormat::GpsReference, false, ""},  // GPSLatitudeRef
    {0x02, "Zeměpisná šířka",                               CzechFormat::GpsCoordinate, false, ""},  // GPSLatitude
    {0x03, "Polokoule zeměpisné délky",                     CzechFormat::GpsReference, false, ""},  // GPSLongitudeRef
    {0x04, "Zeměpisná délka",                               CzechFormat::GpsCoordinate, false, ""},  // GPSLongitude
    {0x05, "Vztažná hladina výšky",                         CzechFormat::Decoded,      false, "0:nad mořem,1:pod hladinou moře"},  // GPSAltitudeRef
    {0x06, "Nadmořská výška",                               CzechFormat::GpsAltitude,  false, ""},  // GPSAltitude
    {0x07, "Čas GPS",                                       CzechFormat::GpsTime,      false, ""},  // GPSTimeStamp
    {0x08, "Satelity GPS",                                  CzechFormat::Text,         false, ""},  // GPSSatellites
    {0x09, "Stav přijímače GPS",                            CzechFormat::Text,         false, ""},  // GPSStatus
    {0x0A, "Režim měření GPS",                              CzechFormat::Text,         false, ""},  // GPSMeasureMode
    {0x0B, "Přesnost GPS (DOP)",                            CzechFormat::Number,       false, ""},  // GPSDOP
    {0x0C, "Jednotka rychlosti",                            CzechFormat::Text,         false, ""},  // GPSSpeedRef
    {0x0D, "Rychlost",                                      CzechFormat::Number,       false, ""},  // GPSSpeed
    {0x0E, "Vztažný směr pohybu",                           CzechFormat::Text,         false, ""},  // GPSTrackRef
    {0x0F, "Směr pohybu",                                   CzechFormat::Number,       false, ""},  // GPSTrack
    {0x10, "Vztažný směr snímku",                           CzechFormat::Text,         false, ""},  // GPSImageDirectionRef
    {0x11, "Směr snímku",                                   CzechFormat::Number,       false, ""},  // GPSImageDirection
    {0x12, "Geodetický systém",                             CzechFormat::Text,         false, ""},  // GPSMapDatum
    {0x13, "Polokoule šířky cíle",                          CzechFormat::GpsReference, false, ""},  // GPSDestLatitudeRef
    {0x14, "Zeměpisná šířka cíle",                          CzechFormat::GpsCoordinate, false, ""},  // GPSDestLatitude
    {0x15, "Polokoule délky cíle",                          CzechFormat::GpsReference, false, ""},  // GPSDestLongitudeRef
    {0x16, "Zeměpisná délka cíle",                          CzechFormat::GpsCoordinate, false, ""},  // GPSDestLongitude
    {0x17, "Vztažný směr k cíli",                           CzechFormat::Text,         false, ""},  // GPSDestBearingkRef
    {0x18, "Směr k cíli",                                   CzechFormat::Number,       false, ""},  // GPSDestBearing
    {0x19, "Jednotka vzdálenosti cíle",                     CzechFormat::Text,         false, ""},  // GPSDestDistanceRef
    {0x1A, "Vzdálenost cíle",                               CzechFormat::Number,       false, ""},  // GPSDestDistance
    {0x1B, "Metoda určení polohy",                          CzechFormat::Text,         false, ""},  // GPSProcessingMode
    {0x1C, "Název oblasti",                                 CzechFormat::Text,         false, ""},  // GPSAreaInformation
    {0x1D, "Datum GPS",                                     CzechFormat::GpsDate,      false, ""},  // GPSDateStamp
    {0x1E, "Diferenciální korekce",                         CzechFormat::Decoded,      false, "0:Bez korekce,1:S korekcí"},  // GPSDifferential
};

// clang-format on

}  // namespace lumatrim
