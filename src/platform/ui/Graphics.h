#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

#include <vxplan/platform/rtl/Color.h>
#include <vxplan/platform/rtl/Object.h>
#include <vxplan/platform/rtl/Set.h>
#include <vxplan/platform/rtl/Types.h>

class QPainter;
class QImage;
class QFont;
class QFontMetrics;
class QStaticText;
class QRect;
class QPoint;

namespace vx {

class TBitmap;
class TCanvas;
class TDeviceContext;
using HDC = TDeviceContext*;

using TNotifyEvent = std::function<void(TObject* Sender)>;

// Pixels per inch of the screen and of off-screen bitmaps.
constexpr int ScreenPixelsPerInch = 96;

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TPenMode {
  pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot, pmMergeNotPen,
  pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor
};
enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

// Flags of DrawText.
constexpr unsigned DT_TOP = 0x0;
constexpr unsigned DT_LEFT = 0x0;
constexpr unsigned DT_CENTER = 0x1;
constexpr unsigned DT_RIGHT = 0x2;
constexpr unsigned DT_VCENTER = 0x4;
constexpr unsigned DT_BOTTOM = 0x8;
constexpr unsigned DT_WORDBREAK = 0x10;
constexpr unsigned DT_SINGLELINE = 0x20;
constexpr unsigned DT_EXPANDTABS = 0x40;
constexpr unsigned DT_NOCLIP = 0x100;
constexpr unsigned DT_CALCRECT = 0x400;
constexpr unsigned DT_NOPREFIX = 0x800;
constexpr unsigned DT_END_ELLIPSIS = 0x8000;
constexpr unsigned DT_WORD_ELLIPSIS = 0x40000;

// The graphic objects report every change through OnChange, so that a canvas
// knows when to hand the new state to its device.
class VX_API TGraphicsObject : public TObject {
public:
  TNotifyEvent OnChange;
  // What the object's holder (a control, a canvas) hears first; OnChange
  // stays the application's.
  void SetOwnerListener(TNotifyEvent theListener) { fOwnerListener = std::move(theListener); }

protected:
  void Changed() {
    if (fOwnerListener) fOwnerListener(this);
    if (OnChange) OnChange(this);
  }

private:
  TNotifyEvent fOwnerListener;
};

// A font. Its size lives as a pixel height at PixelsPerInch, as on the
// classic toolkit: negative heights are character heights, and Size is the
// height in points. Moving a font to a device of another resolution (or
// Assign from such a font) keeps its size in points.
class VX_API TFont : public TGraphicsObject {
public:
  TFont();

  void Assign(const TFont& theSource);

  const std::string& GetName() const noexcept { return fName; }
  void SetName(const std::string& theName);
  int GetSize() const noexcept;
  void SetSize(int theSize);
  int GetHeight() const noexcept { return fHeight; }
  void SetHeight(int theHeight);
  TFontStyles GetStyle() const noexcept { return fStyle; }
  void SetStyle(TFontStyles theStyle);
  TColor GetColor() const noexcept { return fColor; }
  void SetColor(TColor theColor);
  // Tenths of a degree, counter-clockwise; 900 writes upwards.
  int GetOrientation() const noexcept { return fOrientation; }
  void SetOrientation(int theOrientation);
  int GetPixelsPerInch() const noexcept { return fPixelsPerInch; }
  void SetPixelsPerInch(int thePixelsPerInch);

private:
  std::string fName = "Arial";
  int fHeight;
  TFontStyles fStyle;
  TColor fColor = clWindowText;
  int fOrientation = 0;
  int fPixelsPerInch = ScreenPixelsPerInch;
};

class VX_API TPen : public TGraphicsObject {
public:
  void Assign(const TPen& theSource);
  TColor GetColor() const noexcept { return fColor; }
  void SetColor(TColor theColor);
  int GetWidth() const noexcept { return fWidth; }
  void SetWidth(int theWidth);
  TPenStyle GetStyle() const noexcept { return fStyle; }
  void SetStyle(TPenStyle theStyle);
  TPenMode GetMode() const noexcept { return fMode; }
  void SetMode(TPenMode theMode);

private:
  TColor fColor = clBlack;
  int fWidth = 1;
  TPenStyle fStyle = psSolid;
  TPenMode fMode = pmCopy;
};

class VX_API TBrush : public TGraphicsObject {
public:
  void Assign(const TBrush& theSource);
  TColor GetColor() const noexcept { return fColor; }
  void SetColor(TColor theColor);
  TBrushStyle GetStyle() const noexcept { return fStyle; }
  void SetStyle(TBrushStyle theStyle);
  // A pattern bitmap, tiled when filling; not owned. Nil for none.
  TBitmap* GetBitmap() const noexcept { return fBitmap; }
  void SetBitmap(TBitmap* theBitmap);

private:
  TColor fColor = clWhite;
  TBrushStyle fStyle = bsSolid;
  TBitmap* fBitmap = nullptr;
};

// Draws on a device context with a pen, a brush and a font. Geometry is drawn
// without antialiasing, so that pixel positions are exact; text is
// antialiased. Rectangles exclude their right and bottom edges, and lines
// exclude their end point. Operations on a canvas without a device do nothing.
class VX_API TCanvas : public TObject {
public:
  TCanvas();
  ~TCanvas() override;

  TFont* GetFont() noexcept { return &fFont; }
  TPen* GetPen() noexcept { return &fPen; }
  TBrush* GetBrush() noexcept { return &fBrush; }
  void SetFont(const TFont& theFont) { fFont.Assign(theFont); }

  // The device context drawn on; nil when none is bound.
  HDC GetHandle() const noexcept { return fHandle; }

  void SetHandle(HDC theHandle);

  TPoint GetPenPos() const noexcept { return fPenPos; }
  void MoveTo(int x, int y) noexcept { fPenPos = Point(x, y); }
  void LineTo(int x, int y);
  void Polyline(std::span<const TPoint> thePoints);
  // A line through points in logical pixels (fractions allowed), theWidth
  // wide, antialiased, in the pen's colour: for marks (a check mark) that
  // are to look smooth at any device pixel ratio.
  struct TPointF {
    double X = 0;
    double Y = 0;
  };
  void SmoothPolyline(std::span<const TPointF> thePoints, double theWidth);
  void Polygon(std::span<const TPoint> thePoints);
  void Rectangle(int x1, int y1, int x2, int y2);
  void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
  void Ellipse(int x1, int y1, int x2, int y2);
  void FillRect(const TRect& r);
  // Several rectangles in the brush's colour at once (an arrow head's rows).
  void FillRects(std::span<const TRect> theRects);
  void FrameRect(const TRect& r);
  // A dotted frame drawn by inverting: drawing it twice removes it.
  void DrawFocusRect(const TRect& r);
  // The keyboard focus of a whole control: a dotted 1-pixel frame just inside
  // r in the focus colour (the palette's highlight where it shows on the
  // window, else its text: visible on dark and mid backgrounds where an
  // inverted one may not be).
  void DrawFocusFrame(const TRect& r);

  void TextOut(int x, int y, const std::string& theText);
  // TextOut that shows only the part of the text inside theClip.
  void TextOutClipped(const TRect& theClip, int x, int y, const std::string& theText);
  void TextRect(const TRect& r, int x, int y, const std::string& theText);
  int TextWidth(const std::string& theText);
  int TextHeight(const std::string& theText);
  TSize TextExtent(const std::string& theText);
  // Formats text in r by the DT_ flags; answers the height of the text. With
  // DT_CALCRECT it draws nothing and widens or heightens r to fit the text.
  int DrawText(const std::string& theText, TRect& r, unsigned theFlags);

  // clNone where the device cannot be read.
  TColor GetPixel(int x, int y);
  void SetPixel(int x, int y, TColor theColor);

  void Draw(int x, int y, TBitmap* theBitmap);
  void StretchDraw(const TRect& r, TBitmap* theBitmap);
  // Copies theSourceRect of a bitmap's canvas into theDestRect.
  void CopyRect(const TRect& theDestRect, TCanvas* theSource, const TRect& theSourceRect);

  // Device state, forwarded to the device context.
  TPoint GetViewportOrg() const;
  TPoint SetViewportOrg(TPoint theOrigin);
  TRect GetClipRect() const;
  int PixelsPerInch() const;

private:
  struct LaidText;
  struct FontEntry;
  struct TextCache;
  QPainter* Prepare(bool usePen, bool useBrush);
  // The painter, ready for text; theGlyphs also sets its font and pen, which
  // text drawn from pictures does not need.
  QPainter* PrepareText(bool theGlyphs = true);
  void UseTextPen(QPainter* p);
  // The metrics of the current font on the current device.
  const QFontMetrics& Metrics();
  // One line of text at its place in r, from laid-out runs kept per font.
  int DrawLine(const std::string& theText, const TRect& r, unsigned theFlags);
  void FillTextBackground(QPainter* p, const TRect& r);
  void ApplyFontToDevice();

  // A single line laid out once in the current font, so that a text drawn
  // again (every paint draws the same labels) is not shaped again.
  QStaticText& Run(const std::string& theText);
  LaidText& Laid(const std::string& theText);
  // Draws a run at (x, y), cut to theClip when given: on a picture as a
  // pre-rendered image of the run, elsewhere glyph by glyph.
  void DrawRun(QPainter* p, LaidText& theText, int x, int y, const QRect* theClip);
  bool CanBlendPictures(QPainter* p) const;
  // The run rendered in the font's colour; theOffset places its corner
  // relative to where the run is drawn.
  const QImage& Picture(QPainter* p, LaidText& theText, QPoint& theOffset);
  // The brush's pattern bitmap repeated to a tile of at least 64 pixels:
  // filling with a tiny tile costs many times more for the same pixels.
  const QImage& PatternTile(TBitmap* theBitmap);

  TFont fFont;
  TPen fPen;
  TBrush fBrush;
  HDC fHandle = nullptr;
  std::unique_ptr<QImage> fPatternTile;
  std::int64_t fPatternKey = 0;  // the pattern picture the tile was made from
  TPoint fPenPos;
  std::unique_ptr<TextCache> fTextCache;
  FontEntry* fFontEntry = nullptr;  // the current font as the device renders it, in fTextCache
  bool fFontDirty = true;
};

// An off-screen picture that can be resized and drawn on through its canvas.
class VX_API TBitmap : public TObject {
public:
  TBitmap();
  TBitmap(int theWidth, int theHeight);
  ~TBitmap() override;

  int GetWidth() const noexcept;
  int GetHeight() const noexcept;
  void SetWidth(int theWidth) { SetSize(theWidth, GetHeight()); }
  void SetHeight(int theHeight) { SetSize(GetWidth(), theHeight); }
  // Keeps what fits of the old picture; new area is white (clear when
  // transparent). Sizes are logical pixels.
  void SetSize(int theWidth, int theHeight);
  // Physical pixels per logical one (2 on a high-density screen), so that
  // what is drawn is crisp there; drawing and reading pixels stay logical.
  double GetDevicePixelRatio() const noexcept;
  void SetDevicePixelRatio(double theRatio);
  // A transparent bitmap keeps an alpha channel: what is clear stays clear
  // when it is drawn, and a picture loaded from a file keeps its own.
  bool GetTransparent() const noexcept { return fTransparent; }
  void SetTransparent(bool theValue);
  TCanvas* GetCanvas() noexcept { return fCanvas.get(); }

  bool SaveToFile(const std::string& theFileName);
  bool LoadFromFile(const std::string& theFileName);

  // Toolkit internals: the picture, with drawing on it finished.
  const QImage& Image();
  QImage* MutableImage();

private:
  std::unique_ptr<TDeviceContext> fDC;
  std::unique_ptr<TCanvas> fCanvas;
  double fRatio = 1.0;
  bool fTransparent = false;
};

}  // namespace vx
