// The reference for the Windows start-up benchmark: the least a Win32 program can do to show one
// JPEG in a borderless popup window of the wizard's size.
//   bare_win32_window.exe [--exit-after-first-frame] picture.jpg
// With --exit-after-first-frame it hands its first painted frame to the display the same way the
// wizard's backend does, prints "first-frame-ms N" (since the process was created) and exits 0.
#include <windows.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include <jpeglib.h>

namespace {

struct Jpeg {
  int width = 0, height = 0;
  std::vector<unsigned char> bgrx;  // top row first, 4 bytes a pixel, as the DIB wants them
};

struct JpegErrors {
  jpeg_error_mgr base;
  std::jmp_buf jump;
};

Jpeg gPicture;
BITMAPINFO gInfo{};
bool gExitAfterFirstFrame = false;

bool Decode(const char* path, Jpeg& out) {
  std::ifstream in(path, std::ios::binary);
  std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)),
                                   std::istreambuf_iterator<char>());
  if (bytes.empty()) return false;
  jpeg_decompress_struct info;
  JpegErrors errors;
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = [](j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<JpegErrors*>(cinfo->err)->jump, 1);
  };
  jpeg_create_decompress(&info);
  if (setjmp(errors.jump) != 0) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  out.width = static_cast<int>(info.output_width);
  out.height = static_cast<int>(info.output_height);
  out.bgrx.resize(std::size_t(out.width) * out.height * 4);
  std::vector<unsigned char> row(std::size_t(out.width) * 3);
  while (info.output_scanline < info.output_height) {
    unsigned char* dst = out.bgrx.data() + std::size_t(info.output_scanline) * out.width * 4;
    JSAMPROW rowPtr = row.data();
    jpeg_read_scanlines(&info, &rowPtr, 1);
    for (int x = 0; x < out.width; ++x) {
      dst[x * 4] = row[x * 3 + 2];
      dst[x * 4 + 1] = row[x * 3 + 1];
      dst[x * 4 + 2] = row[x * 3];
      dst[x * 4 + 3] = 0;
    }
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}

double MsSinceProcessCreated() {
  FILETIME created, exited, kernel, user, now;
  if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return -1;
  GetSystemTimePreciseAsFileTime(&now);
  auto ticks = [](const FILETIME& t) {
    return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
  };
  return static_cast<double>(ticks(now) - ticks(created)) / 1e4;
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      SetDIBitsToDevice(dc, 1, 1, gPicture.width, gPicture.height, 0, 0, 0, gPicture.height,
                        gPicture.bgrx.data(), &gInfo, DIB_RGB_COLORS);
      EndPaint(hwnd, &ps);
      if (gExitAfterFirstFrame) {
        GdiFlush();
        MsgWaitForMultipleObjectsEx(0, nullptr, 0, QS_ALLINPUT, 0);
        std::printf("first-frame-ms %.0f\n", MsSinceProcessCreated());
        std::fflush(stdout);
        std::_Exit(0);
      }
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(hwnd, msg, wParam, lParam);
  }
}

}  // namespace

int main(int argc, char** argv) {
  int arg = 1;
  if (arg < argc && std::strcmp(argv[arg], "--exit-after-first-frame") == 0) {
    gExitAfterFirstFrame = true;
    ++arg;
  }
  if (arg >= argc || !Decode(argv[arg], gPicture)) {
    std::fprintf(stderr, "usage: bare_win32_window [--exit-after-first-frame] picture.jpg\n");
    return 2;
  }
  gInfo.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  gInfo.bmiHeader.biWidth = gPicture.width;
  gInfo.bmiHeader.biHeight = -gPicture.height;
  gInfo.bmiHeader.biPlanes = 1;
  gInfo.bmiHeader.biBitCount = 32;
  gInfo.bmiHeader.biCompression = BI_RGB;

  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.lpszClassName = L"BareWindow";
  RegisterClassExW(&wc);
  const int w = 725, h = 485;
  const int x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2,
            y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
  HWND hwnd = CreateWindowExW(WS_EX_APPWINDOW, L"BareWindow", L"Bare window", WS_POPUP, x, y, w, h,
                              nullptr, nullptr, wc.hInstance, nullptr);
  ShowWindow(hwnd, SW_SHOW);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
