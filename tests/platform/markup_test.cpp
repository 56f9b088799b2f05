// The markup a photograph's metadata may carry into a page.
#include "platform/markup.h"

#include <gtest/gtest.h>

namespace folivant {
namespace {

TEST(SafeInlineMarkup, KeepsTheInlineSubsetAndWritesEverythingElseAsText) {
  struct Row {
    const char* why;
    const char* text;
    const char* markup;
  };
  const Row rows[] = {
      {"plain text", "Harbour at dawn, S\xC3\xA8te", "Harbour at dawn, S\xC3\xA8te"},
      {"a stray ampersand and angle brackets", "Fish & <chips>", "Fish &amp; &lt;chips&gt;"},
      {"the kept elements, in lower case", "<B>bold</B> <i>it</i> <EM>em</em> <strong>s</strong>",
       "<b>bold</b> <i>it</i> <em>em</em> <strong>s</strong>"},
      {"every form of line break", "a<br>b<BR/>c<br />d", "a<br />b<br />c<br />d"},
      {"a closing br is not one", "a</br>", "a&lt;/br&gt;"},
      {"links to web and mail addresses",
       "<a href=\"https://example.org/?a=1&b=2\">site</a> <A HREF='mailto:x@y'>m</A>",
       "<a href=\"https://example.org/?a=1&amp;b=2\">site</a> <a href=\"mailto:x@y\">m</a>"},
      {"a quote inside a single-quoted address", "<a href='http://x/\"y'>q</a>", "<a href=\"http://x/&quot;y\">q</a>"},
      {"a script", "<script>alert(1)</script>", "&lt;script&gt;alert(1)&lt;/script&gt;"},
      {"an event attribute", "Nice <img src=x onerror=alert(document.domain)>",
       "Nice &lt;img src=x onerror=alert(document.domain)&gt;"},
      {"an attribute on a kept element", "<b onclick=\"x()\">b</b>", "&lt;b onclick=\"x()\"&gt;b&lt;/b&gt;"},
      {"a script address", "<a href=\"javascript:alert(1)\">x</a>",
       "&lt;a href=\"javascript:alert(1)\"&gt;x&lt;/a&gt;"},
      {"a disguised scheme", "<a href=\"java&#115;cript:x\">x</a>", "&lt;a href=\"java&#115;cript:x\"&gt;x&lt;/a&gt;"},
      {"a second attribute on a link", "<a href=\"http://x\" onmouseover=\"y()\">x</a>",
       "&lt;a href=\"http://x\" onmouseover=\"y()\"&gt;x&lt;/a&gt;"},
      {"a link without an address", "<a>x</a>", "&lt;a&gt;x&lt;/a&gt;"},
      {"a link inside a link", "<a href=\"http://a\">1<a href=\"http://b\">2</a></a>",
       "<a href=\"http://a\">1&lt;a href=\"http://b\"&gt;2</a>&lt;/a&gt;"},
      {"comments and declarations", "<!-- x --><![CDATA[y]]>", "&lt;!-- x --&gt;&lt;![CDATA[y]]&gt;"},
      {"references of the page styles stay", "&amp; &lt; &eacute; &nbsp; &#233; &#xE9; &#x1F600;",
       "&amp; &lt; &eacute; &nbsp; &#233; &#xE9; &#x1F600;"},
      {"references that are none", "AT&T; &bogus; &#0; &#xD800; &#X41; &#; &amp",
       "AT&amp;T; &amp;bogus; &amp;#0; &amp;#xD800; &amp;#X41; &amp;#; &amp;amp"},
      {"an element left open is closed", "<b>bold <i>both", "<b>bold <i>both</i></b>"},
      {"an element closed out of order closes the inner one", "<b><i>x</b>y</i>", "<b><i>x</i></b>y&lt;/i&gt;"},
      {"a closing tag with nothing open", "</b>x", "&lt;/b&gt;x"},
      {"elements end with their line", "<b>one\r\ntwo</b>", "<b>one</b>\r\ntwo&lt;/b&gt;"},
      {"an element with nothing inside is left out", "<b> </b>x<i>\n</i>", " x\n&lt;/i&gt;"},
      {"a tag cut short", "<b", "&lt;b"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    const std::string markup = SafeInlineMarkup(row.text);
    EXPECT_EQ(markup, row.markup);
    EXPECT_EQ(SafeInlineMarkup(markup), markup) << "a second pass changes nothing";
  }
}

TEST(MarkupText, LeavesTheTextOfSafeMarkup) {
  struct Row {
    const char* why;
    const char* markup;
    const char* text;
  };
  const Row rows[] = {
      {"nothing", "", ""},
      {"plain text, its white space as it is", "Harbour  at\tdawn", "Harbour  at\tdawn"},
      {"the kept elements leave their content", "<b>bold</b> <i>it</i> <em>em</em> <strong>s</strong>", "bold it em s"},
      {"a link leaves its text, not its address", "See <a href=\"https://example.org/?a=1&amp;b=2\">the map</a>.",
       "See the map."},
      {"every line break becomes one space", "one<br />two\r\nthree\nfour\rfive\r\n\r\nsix",
       "one two three four five  six"},
      {"references stay references", "Fish &amp; chips &lt;3 &eacute; &#233; &nbsp;",
       "Fish &amp; chips &lt;3 &eacute; &#233; &nbsp;"},
      {"what was text stays text", "&lt;script&gt;alert(1)&lt;/script&gt;", "&lt;script&gt;alert(1)&lt;/script&gt;"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.why);
    ASSERT_EQ(SafeInlineMarkup(row.markup), row.markup) << "the row is markup SafeInlineMarkup makes";
    EXPECT_EQ(MarkupText(row.markup), row.text);
  }
}

}  // namespace
}  // namespace folivant
