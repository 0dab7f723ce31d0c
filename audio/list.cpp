#include "audio/list.h"

ListNode* listInsertBefore(ListNode* node, ListNode* anchor) {
    node->next = anchor;
    node->prev = anchor->prev;
    anchor->prev = node;
    node->prev->next = node;
    return node;
}

ListNode* listUnlink(ListNode* node) {
    node->prev->next = node->next;
    node->next->prev = node->prev;
    node->next = node;
    node->prev = node;
    return node;
}
