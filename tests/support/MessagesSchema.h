#pragma once

// The part of the Messages database's schema that the unread count reads, with two chats.
inline constexpr char messagesSchema[] =
    "CREATE TABLE message (ROWID INTEGER PRIMARY KEY, text TEXT, service TEXT, is_read INTEGER, is_from_me "
    "INTEGER, item_type INTEGER, associated_message_type INTEGER, error INTEGER);"
    "CREATE TABLE chat (ROWID INTEGER PRIMARY KEY);"
    "CREATE TABLE chat_message_join (chat_id INTEGER, message_id INTEGER);"
    "INSERT INTO chat VALUES (1), (2);";
