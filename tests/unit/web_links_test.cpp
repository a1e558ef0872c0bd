// Reading Internet shortcut files: only the URL= line of [InternetShortcut] counts, and
// only a web address reaches the browser.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/internet_shortcut.h"
#include "testing/fakes.h"
#include "testing/memory_file_system.h"
#include "testing/temp_folder.h"

namespace obrel {
namespace {

using fake::RecordingBrowser;

TEST(ShortcutUrl, TakesTheUrlLineOfTheShortcutSection) {
  EXPECT_EQ(shortcutUrl("[InternetShortcut]\r\nURL=https://example.org/a?b=c\r\n"),
            "https://example.org/a?b=c");
  // Written by hand: other case, blanks around the parts, LF line ends, no final line end.
  EXPECT_EQ(shortcutUrl("[ internetshortcut ]\n  url = HTTP://example.org/ \n"),
            "HTTP://example.org/");
  EXPECT_EQ(shortcutUrl("[InternetShortcut]\nURL=http://example.org"), "http://example.org");
  // A user part, a port, a query straight after the host, a numeric host.
  for (const std::string url : {"http://user@example.org:8080/x", "https://example.org?q",
                                "https://example.org#top", "http://[::1]:80/"}) {
    EXPECT_EQ(shortcutUrl("[InternetShortcut]\nURL=" + url + "\n"), url);
  }
  // Other keys and sections around it; the first URL= of the section counts.
  EXPECT_EQ(shortcutUrl("[DEFAULT]\r\nBASEURL=http://base.example/\r\nURL=http://wrong.example/\r\n"
                        "[InternetShortcut]\r\nIconIndex=0\r\nURL=https://right.example/\r\n"
                        "URL=https://second.example/\r\n[Other]\r\nURL=http://other.example/\r\n"),
            "https://right.example/");
}

TEST(ShortcutUrl, NamesNothingWithoutAWebAddressInItsSection) {
  const std::vector<std::string> texts = {
      "",
      "URL=https://example.org/\r\n",                          // no section
      "[Other]\r\nURL=https://example.org/\r\n",               // another section
      "[InternetShortcut.A]\r\nURL=https://example.org/\r\n",  // another section
      "[InternetShortcut]\r\nIconFile=x\r\n",                  // no URL line
      "[InternetShortcut]\r\nURL=\r\n",                        // empty
      "[InternetShortcut]\r\nURL=file:///etc/passwd\r\n",      // not the web
      "[InternetShortcut]\r\nURL=javascript:alert(1)\r\n",
      "[InternetShortcut]\r\nURL=ftp://example.org/\r\n",
      "[InternetShortcut]\r\nURL=httpx://example.org/\r\n",
      "[InternetShortcut]\r\nURL=https://\r\n",  // no host
      "[InternetShortcut]\r\nURL=https:///etc/passwd\r\n",
      "[InternetShortcut]\r\nURL=https://?x\r\n",
      "[InternetShortcut]\r\nURL=https://#frag\r\n",
      "[InternetShortcut]\r\nURL=http://@\r\n",
      "[InternetShortcut]\r\nURL=http://:80/\r\n",
      "[InternetShortcut]\r\nURL=http://user@:80/\r\n",
      "[InternetShortcut]\r\nURL=http://[]/\r\n",
      "[InternetShortcut]\r\nURL=https://example.org/a b\r\n",    // a blank inside
      "[InternetShortcut]\r\nURL=https://example.org/\x01x\r\n",  // a control character
      "[InternetShortcut]\r\nURL=C:\\Windows\\notepad.exe\r\n",
      // The first URL= line counts even when a later one would do.
      "[InternetShortcut]\r\nURL=file:///x\r\nURL=https://example.org/\r\n",
  };
  for (const std::string& text : texts) EXPECT_EQ(shortcutUrl(text), std::nullopt) << text;
}

TEST(OpenWebLink, HandsTheAddressToTheBrowserOrDoesNothing) {
  fake::MemoryFileSystem files;
  RecordingBrowser browser;
  files.files()["/p/Web Links/Home.url"] = "[InternetShortcut]\r\nURL=https://example.org/\r\n";
  files.files()["/p/Web Links/Local.url"] = "[InternetShortcut]\r\nURL=file:///etc/passwd\r\n";
  files.files()["/p/Web Links/Empty.url"] = "";
  // UTF-16 with its mark, as some tools save shortcuts.
  std::string wide = "\xFF\xFE";
  for (const char c : std::string("[InternetShortcut]\r\nURL=http://w.ex/\r\n")) {
    wide += c;
    wide += '\0';
  }
  files.files()["/p/Web Links/Wide.url"] = wide;
  files.files()["/p/Web Links/Huge.url"] =
      "[InternetShortcut]\r\nURL=https://huge.example/\r\n" + std::string(std::size_t{64} * 1024, ' ');

  openWebLink(files, browser, "/p/Web Links/Home.url");
  openWebLink(files, browser, "/p/Web Links/Local.url");
  openWebLink(files, browser, "/p/Web Links/Empty.url");
  openWebLink(files, browser, "/p/Web Links/Missing.url");
  openWebLink(files, browser, "/p/Web Links/Wide.url");
  openWebLink(files, browser, "/p/Web Links/Huge.url");
  EXPECT_EQ(browser.opened, (std::vector<std::string>{"https://example.org/", "http://w.ex/"}));
}

TEST(OpenWebLink, APipeWithAnIdleWriterDoesNothingAtOnce) {
  const fake::TempFolder folder("obrel-links");
  const std::string pipe = folder / "Pipe.url";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  const int writer = ::open(pipe.c_str(), O_RDWR | O_NONBLOCK);  // holds it open, writes nothing
  ASSERT_GE(writer, 0);
  RealFileSystem files;
  RecordingBrowser browser;
  openWebLink(files, browser, pipe);
  EXPECT_TRUE(browser.opened.empty());
  ::close(writer);
}

}  // namespace
}  // namespace obrel
