#include <gtest/gtest.h>

#include <vector>

#include "audio/list.h"

namespace {

void selfLink(ListNode& node) {
    node.next = node.prev = &node;
}

// The nodes met walking forward from the head, checking the backward links on the way.
std::vector<ListNode*> walk(ListNode& head) {
    std::vector<ListNode*> nodes;
    for (ListNode* node = head.next; node != &head; node = node->next) {
        EXPECT_EQ(node->next->prev, node);
        nodes.push_back(node);
        if (nodes.size() > 16) break;
    }
    EXPECT_EQ(head.next->prev, &head);
    return nodes;
}

} // namespace

TEST(List, InsertIntoAnEmptyListGivesAListOfOne) {
    ListNode head, node;
    selfLink(head);
    selfLink(node);
    EXPECT_EQ(listInsertBefore(&node, &head), &node);
    EXPECT_EQ(head.next, &node);
    EXPECT_EQ(head.prev, &node);
    EXPECT_EQ(node.next, &head);
    EXPECT_EQ(node.prev, &head);
}

TEST(List, InsertBeforeTheHeadAppendsAndUnlinkThenInsertMovesToTheTail) {
    ListNode head, a, b, c;
    for (ListNode* node : {&head, &a, &b, &c}) selfLink(*node);
    for (ListNode* node : {&a, &b, &c}) listInsertBefore(node, &head);
    EXPECT_EQ(walk(head), (std::vector<ListNode*>{&a, &b, &c}));

    EXPECT_EQ(listUnlink(&a), &a);
    EXPECT_EQ(a.next, &a);
    EXPECT_EQ(a.prev, &a);
    EXPECT_EQ(walk(head), (std::vector<ListNode*>{&b, &c}));
    listInsertBefore(&a, &head);
    EXPECT_EQ(walk(head), (std::vector<ListNode*>{&b, &c, &a}));

    listUnlink(&c);
    EXPECT_EQ(walk(head), (std::vector<ListNode*>{&b, &a}));
    listUnlink(&b);
    listUnlink(&a);
    EXPECT_TRUE(walk(head).empty());
    EXPECT_EQ(head.prev, &head);
}

TEST(List, UnlinkingASelfLinkedNodeChangesNothing) {
    ListNode node;
    selfLink(node);
    EXPECT_EQ(listUnlink(&node), &node);
    EXPECT_EQ(node.next, &node);
    EXPECT_EQ(node.prev, &node);
}
