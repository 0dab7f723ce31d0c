#pragma once

// A circular doubly linked list whose links live inside the records themselves. Records that can be
// listed (Voice, Module) derive from ListNode, so their links are their first two members. An empty
// list is a sentinel head linked to itself; a node in no list is linked to itself too.
struct ListNode {
    ListNode* next;
    ListNode* prev;
};

// Links node in front of anchor; with a sentinel head as anchor this appends at the tail.
ListNode* listInsertBefore(ListNode* node, ListNode* anchor);

// Takes node out of its list and leaves it self-linked; a self-linked node stays as it is.
ListNode* listUnlink(ListNode* node);
