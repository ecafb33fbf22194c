#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <cstdint>

#include <vxplan/platform/rtl/Set.h>

namespace vx {

using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TShiftStateItem { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateItem>;

// A message as a control's WndProc sees it. Input messages also carry their
// contents decoded (Decoded true); messages sent with Perform or PostMessage
// are decoded from WParam and LParam in the classic packing.
struct VX_API TMessage {
  unsigned Msg = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
  LRESULT Result = 0;

  bool Decoded = false;
  int XPos = 0;  // client coordinates; screen coordinates for WM_MOUSEWHEEL
  int YPos = 0;
  TShiftState Shift;
  int WheelDelta = 0;       // WM_MOUSEWHEEL: 120 per notch, positive away from the user
  unsigned CharCode = 0;    // key messages: the virtual key; WM_CHAR: the character
};

using TWMMouseWheel = TMessage;

constexpr LPARAM MAKELPARAM(int lo, int hi) noexcept {
  return static_cast<LPARAM>(static_cast<std::uint32_t>((lo & 0xFFFF) | ((hi & 0xFFFF) << 16)));
}
constexpr int LoWordSigned(LPARAM v) noexcept { return static_cast<std::int16_t>(v & 0xFFFF); }
constexpr int HiWordSigned(LPARAM v) noexcept { return static_cast<std::int16_t>((v >> 16) & 0xFFFF); }

// Message numbers.
constexpr unsigned WM_NULL = 0x0000;
constexpr unsigned WM_SIZE = 0x0005;
constexpr unsigned WM_SETFOCUS = 0x0007;
// A mouse gesture under way must end, cancelled: the control was hidden,
// changed parent, lost the mouse or its window was deactivated.
constexpr unsigned WM_CANCELMODE = 0x001F;
constexpr unsigned WM_KILLFOCUS = 0x0008;
constexpr unsigned WM_PAINT = 0x000F;
constexpr unsigned WM_ERASEBKGND = 0x0014;
constexpr unsigned WM_KEYDOWN = 0x0100;
constexpr unsigned WM_KEYUP = 0x0101;
constexpr unsigned WM_CHAR = 0x0102;
constexpr unsigned WM_MOUSEMOVE = 0x0200;
constexpr unsigned WM_LBUTTONDOWN = 0x0201;
constexpr unsigned WM_LBUTTONUP = 0x0202;
constexpr unsigned WM_LBUTTONDBLCLK = 0x0203;
constexpr unsigned WM_RBUTTONDOWN = 0x0204;
constexpr unsigned WM_RBUTTONUP = 0x0205;
constexpr unsigned WM_RBUTTONDBLCLK = 0x0206;
constexpr unsigned WM_MBUTTONDOWN = 0x0207;
constexpr unsigned WM_MBUTTONUP = 0x0208;
constexpr unsigned WM_MBUTTONDBLCLK = 0x0209;
constexpr unsigned WM_MOUSEWHEEL = 0x020A;
constexpr unsigned WM_COPY = 0x0301;
constexpr unsigned WM_USER = 0x0400;
constexpr unsigned CM_BASE = 0xB000;
constexpr unsigned CM_FOCUSCHANGED = CM_BASE + 7;
constexpr unsigned CM_MOUSEENTER = CM_BASE + 19;
constexpr unsigned CM_MOUSELEAVE = CM_BASE + 20;
constexpr unsigned CM_WANTSPECIALKEY = CM_BASE + 54;

// Key state bits of mouse messages.
constexpr WPARAM MK_LBUTTON = 0x01;
constexpr WPARAM MK_RBUTTON = 0x02;
constexpr WPARAM MK_SHIFT = 0x04;
constexpr WPARAM MK_CONTROL = 0x08;
constexpr WPARAM MK_MBUTTON = 0x10;

// Virtual keys.
constexpr unsigned short VK_BACK = 0x08;
constexpr unsigned short VK_TAB = 0x09;
constexpr unsigned short VK_RETURN = 0x0D;
constexpr unsigned short VK_SHIFT = 0x10;
constexpr unsigned short VK_CONTROL = 0x11;
constexpr unsigned short VK_MENU = 0x12;
constexpr unsigned short VK_ESCAPE = 0x1B;
constexpr unsigned short VK_SPACE = 0x20;
constexpr unsigned short VK_PRIOR = 0x21;
constexpr unsigned short VK_NEXT = 0x22;
constexpr unsigned short VK_END = 0x23;
constexpr unsigned short VK_HOME = 0x24;
constexpr unsigned short VK_LEFT = 0x25;
constexpr unsigned short VK_UP = 0x26;
constexpr unsigned short VK_RIGHT = 0x27;
constexpr unsigned short VK_DOWN = 0x28;
constexpr unsigned short VK_INSERT = 0x2D;
constexpr unsigned short VK_DELETE = 0x2E;
// The context-menu key.
constexpr unsigned short VK_APPS = 0x5D;
constexpr unsigned short VK_ADD = 0x6B;
constexpr unsigned short VK_SUBTRACT = 0x6D;
constexpr unsigned short VK_F1 = 0x70;
constexpr unsigned short VK_F2 = 0x71;
constexpr unsigned short VK_F4 = 0x73;
constexpr unsigned short VK_F12 = 0x7B;
// The key of "=" and "+" beside the digits.
constexpr unsigned short VK_OEM_PLUS = 0xBB;

}  // namespace vx
