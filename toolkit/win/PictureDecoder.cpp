// Pictures are decoded with the Windows Imaging Component, the platform's own JPEG decoder.
// https://learn.microsoft.com/windows/win32/wic/-wic-about-windows-imaging-codec
#include <wincodec.h>

#include <algorithm>

#include "toolkit/core/CodePage.h"
#include "toolkit/core/DpiScale.h"
#include "toolkit/core/Errors.h"
#include "toolkit/win/Bitmap.h"
#include "toolkit/win/ComPtr.h"
#include "toolkit/win/Resources.h"

namespace tk {
namespace {

void Check(HRESULT hr, const wchar_t* resourceName, const char* step) {
  if (FAILED(hr))
    throw EInvalidOperation(Format("无法载入图片 %s (%s, 0x%08lX)", FromWide(resourceName).c_str(), step,
                                   static_cast<unsigned long>(hr)));
}

}  // namespace

std::wstring PictureResourceForDpi(const wchar_t* resourceName, int dpi) {
  static const int kDrawnScales[] = {100, 150, 200};
  const int scale = PictureScaleFor(dpi, kDrawnScales);
  if (scale == 100) return resourceName;
  std::wstring variant = std::wstring(resourceName) + L"_" + std::to_wstring(scale);
  return ResourceBytes(variant.c_str()).data() ? variant : std::wstring(resourceName);
}

Bitmap LoadPictureResource(const wchar_t* resourceName, SIZE fitTo) {
  std::string_view bytes = ResourceBytes(resourceName);
  if (bytes.data() == nullptr) Check(E_FAIL, resourceName, "resource");

  ComPtr<IWICImagingFactory> factory;
  Check(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                         reinterpret_cast<void**>(&factory)),
        resourceName, "factory");
  ComPtr<IWICStream> stream;
  Check(factory->CreateStream(&stream), resourceName, "stream");
  Check(stream->InitializeFromMemory(reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data())),
                                      static_cast<DWORD>(bytes.size())), resourceName, "stream");
  ComPtr<IWICBitmapDecoder> decoder;
  Check(factory->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnDemand, &decoder),
        resourceName, "decoder");
  ComPtr<IWICBitmapFrameDecode> frame;
  Check(decoder->GetFrame(0, &frame), resourceName, "frame");
  ComPtr<IWICFormatConverter> converter;
  Check(factory->CreateFormatConverter(&converter), resourceName, "converter");
  Check(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone, nullptr, 0.0,
                              WICBitmapPaletteTypeCustom),
        resourceName, "converter");
  UINT width = 0, height = 0;
  Check(converter->GetSize(&width, &height), resourceName, "size");
  IWICBitmapSource* source = converter.get();
  ComPtr<IWICBitmapScaler> scaler;
  const UINT fitWidth = static_cast<UINT>(fitTo.cx), fitHeight = static_cast<UINT>(fitTo.cy);
  if (fitTo.cx > 0 && fitTo.cy > 0 && (width > fitWidth || height > fitHeight)) {
    Check(factory->CreateBitmapScaler(&scaler), resourceName, "scaler");
    Check(scaler->Initialize(converter.get(), std::min(width, fitWidth), std::min(height, fitHeight),
                             WICBitmapInterpolationModeFant),
          resourceName, "scaler");
    source = scaler.get();
    Check(source->GetSize(&width, &height), resourceName, "size");
  }

  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = static_cast<LONG>(width);
  info.bmiHeader.biHeight = -static_cast<LONG>(height);  // top-down rows, as WIC gives them
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* pixels = nullptr;
  Bitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0));
  if (!bitmap) Check(E_OUTOFMEMORY, resourceName, "bitmap");
  Check(source->CopyPixels(nullptr, width * 4, width * height * 4, static_cast<BYTE*>(pixels)), resourceName,
        "pixels");
  return bitmap;
}

}  // namespace tk
