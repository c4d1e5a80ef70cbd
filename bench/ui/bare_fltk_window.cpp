// The reference for the start-up benchmark: the least a program can do to show one JPEG in a
// borderless FLTK window. `bare_fltk_window [--exit-after-first-frame] picture.jpg`
//
// With --exit-after-first-frame it prints "first-frame-ms N" once the first frame is on the X
// server and exits with code 0. N counts from the process start: from QUILLON_START_NS (the
// launcher's std::chrono::steady_clock count in nanoseconds, taken just before it starts this
// process) when that is set, else from the start time in /proc/self/stat (about 10 ms steps).
// The wizard's screen backend reports the same line under QUILLON_EXIT_AFTER_FIRST_FRAME=1.
#include <FL/Fl.H>
#include <FL/Fl_Double_Window.H>
#include <FL/fl_draw.H>

#include <chrono>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace {

double MsSinceProcessStart() {
  if (const char* start = std::getenv("QUILLON_START_NS")) {
    using namespace std::chrono;
    const long long now =
        duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count();
    return static_cast<double>(now - std::atoll(start)) / 1e6;
  }
  std::ifstream statFile("/proc/self/stat");
  std::string stat((std::istreambuf_iterator<char>(statFile)), std::istreambuf_iterator<char>());
  const auto close = stat.rfind(')');
  if (close == std::string::npos) return -1;
  std::istringstream fields(stat.substr(close + 2));
  std::string field;
  for (int i = 3; i <= 22 && fields >> field; ++i) {
  }
  std::ifstream uptimeFile("/proc/uptime");
  double uptime = 0;
  if (!(uptimeFile >> uptime) || field.empty()) return -1;
  return (uptime - std::stod(field) / 100.0) * 1000.0;
}

struct Jpeg {
  int width = 0, height = 0;
  std::vector<unsigned char> rgb;
};

struct JpegErrors {
  jpeg_error_mgr base;
  std::jmp_buf jump;
};

bool DecodeRows(jpeg_decompress_struct& info, JpegErrors& errors,
                const std::vector<unsigned char>& bytes, Jpeg& out) {
  if (setjmp(errors.jump) != 0) return false;
  jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  out.width = static_cast<int>(info.output_width);
  out.height = static_cast<int>(info.output_height);
  out.rgb.resize(std::size_t(out.width) * out.height * 3);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = out.rgb.data() + std::size_t(info.output_scanline) * out.width * 3;
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  return true;
}

bool DecodeFile(const char* path, Jpeg& out) {
  std::ifstream in(path, std::ios::binary);
  std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)),
                                   std::istreambuf_iterator<char>());
  if (bytes.empty()) return false;
  jpeg_decompress_struct info{};
  JpegErrors errors{};
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = [](j_common_ptr c) {
    std::longjmp(reinterpret_cast<JpegErrors*>(c->err)->jump, 1);
  };
  jpeg_create_decompress(&info);
  const bool ok = DecodeRows(info, errors, bytes, out);
  jpeg_destroy_decompress(&info);
  return ok;
}

class PictureWindow : public Fl_Double_Window {
 public:
  PictureWindow(const Jpeg& jpeg, bool exitAfterFirstFrame)
      : Fl_Double_Window((Fl::w() - jpeg.width) / 2, (Fl::h() - jpeg.height) / 2, jpeg.width,
                         jpeg.height),
        jpeg_(jpeg),
        exitAfterFirstFrame_(exitAfterFirstFrame) {
    end();
    border(0);
  }
  void draw() override { fl_draw_image(jpeg_.rgb.data(), 0, 0, jpeg_.width, jpeg_.height, 3); }
  void flush() override {
    Fl_Double_Window::flush();
    if (exitAfterFirstFrame_) Fl::add_timeout(0.0, ExitNow);
  }

 private:
  static void ExitNow(void*) {
    // A round trip to the server: the frame's copy has been executed when it returns.
    int x = 0, y = 0;
    Fl::get_mouse(x, y);
    std::printf("first-frame-ms %.0f\n", MsSinceProcessStart());
    std::fflush(stdout);
    std::_Exit(0);
  }
  const Jpeg& jpeg_;
  bool exitAfterFirstFrame_;
};

}  // namespace

int main(int argc, char** argv) {
  bool exitAfterFirstFrame = false;
  const char* path = nullptr;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--exit-after-first-frame") == 0)
      exitAfterFirstFrame = true;
    else
      path = argv[i];
  }
  Jpeg jpeg;
  if (path == nullptr || !DecodeFile(path, jpeg)) {
    std::fprintf(stderr, "usage: bare_fltk_window [--exit-after-first-frame] picture.jpg\n");
    return 2;
  }
  PictureWindow window(jpeg, exitAfterFirstFrame);
  window.show();
  return Fl::run();
}
