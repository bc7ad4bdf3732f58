// One setting of the property list: a caption shown in column 0, indented by its level, and a value
// shown in column 1. The base item cannot be edited; its subclasses decide how a value is edited.
// Items form a tree by levels: a group owns the deeper items that follow it.
#pragma once

#include <QRect>

#include <array>
#include <string>

class QWidget;

class CFlexItem {
public:
    static constexpr int kBase = 0;
    static constexpr int kBool = 1;
    static constexpr int kDirect = 2;
    static constexpr int kSelect = 3;

    CFlexItem();
    virtual ~CFlexItem();
    CFlexItem(const CFlexItem&) = delete;
    CFlexItem& operator=(const CFlexItem&) = delete;

    virtual std::string GetKey() const;
    // The UI text of captionTextId.
    virtual std::string GetCaption() const;
    virtual std::string GetValue() const;
    // What column 1 shows.
    virtual std::string GetDisplayText() const;
    virtual std::string GetExtraText() const;
    // Starts an edit in the editor over the cell rectangle (the editor's parent's coordinates);
    // 1 when the edit runs, 0 when the item refuses.
    virtual int BeginEdit(QWidget* editor, const QRect& rect);
    // Ends a running edit, taking the editor's value; 1 when an edit ended.
    virtual int EndEdit();
    // The value goes back to the default value.
    virtual void Reset();

    int type = kBase;
    std::string value;
    std::string key;
    int captionTextId = -1;
    int level = 0;
    int enabled = 1;
    int visible = 1;
    int expanded = 1;
    std::string defaultValue;
    int index = 0;
    int hasChildren = 0;
    int greyWhenDisabled = 0;
    std::array<int, 3> numbers{-1, -1, -1};
    std::string formatText;
};
