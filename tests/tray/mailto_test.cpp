#include <gtest/gtest.h>

#include "tray/mailto.h"

namespace vellix {
namespace {

TEST(MailtoTest, BuildsTheComposeRequest) {
    struct Case {
        const char* text;
        const char* request;
    } cases[] = {
        {"mailto:ann@example.com?subject=Hello&to=bob@example.com",
         "&View=Compose&NextNew=Yes&NextTo=ann@example.com,bob@example.com&NextSubject=Hello"},
        {"?to=bob@example.com", "&View=Compose&NextNew=Yes&NextTo=bob@example.com"},
        {"MAILTO://ann@example.com", "&View=Compose&NextNew=Yes&NextTo=ann@example.com"},
        {"ann@x.org?Subject=a%20b&BODY=line1%0Aline2&cc=c@x.org",
         "&View=Compose&NextNew=Yes&NextTo=ann@x.org&NextSubject=a%20b&NextBody=line1%0Aline2"},
        {"", "&View=Compose&NextNew=Yes"},
        {"mailto:", "&View=Compose&NextNew=Yes"},
        {"a@x?to=&to=b@x&&subject=", "&View=Compose&NextNew=Yes&NextTo=a@x,,b@x"},
        {"a@x?subject=one&subject=two", "&View=Compose&NextNew=Yes&NextTo=a@x&NextSubject=two"},
        {"mailto", "&View=Compose&NextNew=Yes&NextTo=mailto"},
    };
    for (const auto& c : cases) EXPECT_EQ(parseMailto(c.text), c.request) << c.text;
}

TEST(MailtoTest, LinkLeavesTheTrayAlone) {
    const WebmailLink link = mailtoLink("a@x");
    EXPECT_EQ(link.format, "&View=Compose&NextNew=Yes&NextTo=a@x");
    EXPECT_EQ(link.trayStateAfter, 0);
}

}  // namespace
}  // namespace vellix
