// A radio button that paints its caption itself so that every "(R)" in it shows as a small boxed
// R mark (at most two; a third stays as plain text). Set the caption with SetText.
#pragma once

#include <QRadioButton>

#include <string>
#include <vector>

class CCustomRadioButton : public QRadioButton {
    Q_OBJECT
public:
    struct Piece {
        std::string text;
        bool isMark = false;
        friend bool operator==(const Piece&, const Piece&) = default;
    };

    explicit CCustomRadioButton(QWidget* parent = nullptr);
    ~CCustomRadioButton() override;

    // Empties the native caption (so the button paints none) and keeps the text for painting.
    void SetText(const std::string& caption);
    // The caption cut into plain pieces and marks.
    static std::vector<Piece> SplitMarks(const std::string& caption);

    void* themeData = nullptr; // opened when the theme library offers it; not used for painting
    std::string text;

protected:
    void paintEvent(QPaintEvent* event) override;
};
