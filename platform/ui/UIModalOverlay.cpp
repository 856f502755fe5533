#include "ui/UIModalOverlay.h"

#include "graphics/CairoPtr.h"
#include "ui/UIGraphics.h"

#include <algorithm>
#include <cmath>

RVX_DEFINE_CLASS(UIModalOverlay, UIView,
    cls.addMethod("buttonPressed:", runtime::method(&UIModalOverlay::buttonPressed)))

namespace {

enum Look : int { AlertButton, AlertCancel, SheetButton, SheetCancel, SheetDestructive };
enum PanelKind : int { AlertPanel, SheetPanel };

constexpr CGFloat kAlertPadding = 12;
constexpr CGFloat kAlertTop = 16;
constexpr CGFloat kGap = 8;
constexpr CGFloat kSheetButtonHeight = 44;

void roundedPath(cairo_t* cr, CGRect r, double radius)
{
    double x = r.origin.x, y = r.origin.y, w = r.size.width, h = r.size.height;
    radius = std::min({radius, w / 2, h / 2});
    cairo_new_path(cr);
    cairo_arc(cr, x + w - radius, y + radius, radius, -M_PI / 2, 0);
    cairo_arc(cr, x + w - radius, y + h - radius, radius, 0, M_PI / 2);
    cairo_arc(cr, x + radius, y + h - radius, radius, M_PI / 2, M_PI);
    cairo_arc(cr, x + radius, y + radius, radius, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

void fillVertical(cairo_t* cr, CGRect r, RGBA top, RGBA bottom)
{
    CairoPatternPtr fill(cairo_pattern_create_linear(0, r.origin.y, 0, CGRectGetMaxY(r)));
    cairo_pattern_add_color_stop_rgba(fill.get(), 0, top[0], top[1], top[2], top[3]);
    cairo_pattern_add_color_stop_rgba(fill.get(), 1, bottom[0], bottom[1], bottom[2], bottom[3]);
    cairo_set_source(cr, fill.get());
    cairo_fill_preserve(cr);
}

// The alert dims the screen most at its edges. The radial gradient over the whole window
// costs more than the rest of the screen (about 9 ms at 2x), so it is drawn once per size
// in device pixels and each frame paints that copy.
void paintAlertDim(cairo_t* cr, CGSize size)
{
    double scaleX = 1, scaleY = 1;
    cairo_user_to_device_distance(cr, &scaleX, &scaleY);
    scaleX = std::fabs(scaleX);
    scaleY = std::fabs(scaleY);
    int width = int(std::ceil(size.width * scaleX)), height = int(std::ceil(size.height * scaleY));
    if (width <= 0 || height <= 0)
        return;
    static CairoSurfacePtr drawn;
    static CGSize drawnSize;
    bool same = drawn && cairo_image_surface_get_width(drawn.get()) == width && cairo_image_surface_get_height(drawn.get()) == height
        && drawnSize.width == size.width && drawnSize.height == size.height;
    if (!same) {
        drawn.reset(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
        drawnSize = size;
        CairoContextPtr painter(cairo_create(drawn.get()));
        cairo_scale(painter.get(), scaleX, scaleY);
        double cx = size.width / 2, cy = size.height / 2;
        CairoPatternPtr dim(cairo_pattern_create_radial(cx, cy, 0, cx, cy, std::hypot(cx, cy)));
        cairo_pattern_add_color_stop_rgba(dim.get(), 0, 0, 0, 0, 0.35);
        cairo_pattern_add_color_stop_rgba(dim.get(), 1, 0, 0, 0, 0.75);
        cairo_set_source(painter.get(), dim.get());
        cairo_paint(painter.get());
    }
    cairo_save(cr);
    cairo_scale(cr, 1 / scaleX, 1 / scaleY);
    cairo_set_source_surface(cr, drawn.get(), 0, 0);
    cairo_paint(cr);
    cairo_restore(cr);
}

// A button of the alert or sheet: its chrome under the ordinary title drawing.
class ModalButton : public UIButton {
public:
    explicit ModalButton(int look) : _look(look) { }

    void drawRect(CGRect rect) override
    {
        if (CGContextRef context = UIGraphicsGetCurrentContext()) {
            cairo_t* cr = context->painter().cairo();
            auto saved = context->painter().save();
            CGRect box = CGRectInset(bounds(), 0.5, 0.5);
            bool lit = isHighlighted();
            switch (_look) {
            case AlertButton:
            case AlertCancel: {
                double a = _look == AlertCancel ? 0.55 : 1.0;
                roundedPath(cr, box, 6);
                if (lit)
                    fillVertical(cr, box, {0.35f, 0.5f, 0.85f, 1}, {0.15f, 0.3f, 0.7f, 1});
                else
                    fillVertical(cr, box, {1, 1, 1, float(0.38 * a)}, {1, 1, 1, float(0.08 * a)});
                cairo_set_source_rgba(cr, 0, 0, 0, 0.55);
                cairo_set_line_width(cr, 1);
                cairo_stroke(cr);
                break;
            }
            default: {
                RGBA top {1, 1, 1, 1}, bottom {0.82f, 0.83f, 0.85f, 1}, line {0.35f, 0.37f, 0.42f, 1};
                if (_look == SheetCancel)
                    top = {0.42f, 0.43f, 0.46f, 1}, bottom = {0.16f, 0.17f, 0.2f, 1}, line = {0.08f, 0.08f, 0.1f, 1};
                else if (_look == SheetDestructive)
                    top = {0.95f, 0.4f, 0.38f, 1}, bottom = {0.75f, 0.05f, 0.05f, 1}, line = {0.4f, 0.02f, 0.02f, 1};
                if (lit)
                    top = {0.35f, 0.55f, 0.95f, 1}, bottom = {0.05f, 0.3f, 0.85f, 1};
                roundedPath(cr, box, 8);
                fillVertical(cr, box, top, bottom);
                cairo_set_source_rgba(cr, line[0], line[1], line[2], line[3]);
                cairo_set_line_width(cr, 1);
                cairo_stroke(cr);
                break;
            }
            }
        }
        UIButton::drawRect(rect);
    }

private:
    int _look;
};

// The alert's panel (navy glass with a light border) or the sheet's (the bar's blue-grey).
class ModalPanel : public UIView {
public:
    ModalPanel(CGRect frame, int kind) : UIView(frame), _kind(kind) { }

    // The middle of the panel's gradient.
    UIColorRef groundColor() const override
    {
        return _kind == SheetPanel ? UIColor::colorWithRed(0.32, 0.37, 0.47, 0.92)
                                   : UIColor::colorWithRed(0.06, 0.12, 0.3, 0.9);
    }

    void drawRect(CGRect) override
    {
        CGContextRef context = UIGraphicsGetCurrentContext();
        if (!context)
            return;
        cairo_t* cr = context->painter().cairo();
        auto saved = context->painter().save();
        CGRect box = bounds();
        if (_kind == SheetPanel) {
            cairo_rectangle(cr, 0, 0, box.size.width, box.size.height);
            fillVertical(cr, box, {0.45f, 0.5f, 0.6f, 0.92f}, {0.2f, 0.24f, 0.33f, 0.92f});
            cairo_new_path(cr);
            cairo_set_source_rgba(cr, 0.1, 0.1, 0.15, 1);
            cairo_rectangle(cr, 0, 0, box.size.width, 1);
            cairo_fill(cr);
            cairo_set_source_rgba(cr, 1, 1, 1, 0.35);
            cairo_rectangle(cr, 0, 1, box.size.width, 1);
            cairo_fill(cr);
            return;
        }
        CGRect outer = CGRectInset(box, 1, 1);
        roundedPath(cr, outer, 10);
        fillVertical(cr, outer, {0.1f, 0.17f, 0.38f, 0.9f}, {0.02f, 0.07f, 0.22f, 0.9f});
        cairo_set_source_rgba(cr, 0.92, 0.94, 1, 0.9);
        cairo_set_line_width(cr, 2);
        cairo_stroke(cr);
        // The gloss: a wide, soft ellipse lighting the top.
        cairo_save(cr);
        roundedPath(cr, CGRectInset(outer, 1, 1), 9);
        cairo_clip(cr);
        cairo_translate(cr, box.size.width / 2, 0);
        cairo_scale(cr, box.size.width * 0.75, 36);
        cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
        CairoPatternPtr gloss(cairo_pattern_create_linear(0, -1, 0, 1));
        cairo_pattern_add_color_stop_rgba(gloss.get(), 0.5, 1, 1, 1, 0.3);
        cairo_pattern_add_color_stop_rgba(gloss.get(), 1, 1, 1, 1, 0.06);
        cairo_set_source(cr, gloss.get());
        cairo_fill(cr);
        cairo_restore(cr);
    }

private:
    int _kind;
};

UILabelRef modalLabel(const std::string& text, UIFontRef font, CGFloat width, RGBA color, RGBA shadow)
{
    auto label = runtime::make<UILabel>();
    label->setBackgroundColor(UIColor::clearColor());
    label->setText(text);
    label->setFont(std::move(font));
    label->setTextColor(UIColor::colorWithRed(color[0], color[1], color[2], color[3]));
    label->setShadowColor(UIColor::colorWithRed(shadow[0], shadow[1], shadow[2], shadow[3]));
    label->setShadowOffset({0, -1});
    label->setTextAlignment(UITextAlignmentCenter);
    label->setNumberOfLines(0);
    label->setLineBreakMode(UILineBreakModeWordWrap);
    CGSize size = label->sizeThatFits({width, 0});
    label->setFrame(CGRectMake(0, 0, width, size.height));
    return label;
}

} // namespace

UIButtonRef UIModalOverlay::addButton(const std::string& title, int index, int look, CGRect frame)
{
    auto button = runtime::make<ModalButton>(look);
    button->setFrame(frame);
    button->setTitle(title, UIControlStateNormal);
    bool light = look == SheetButton;
    bool sheet = look >= SheetButton;
    button->titleLabel()->setFont(UIFont::boldSystemFontOfSize(sheet ? 19 : 18));
    button->setTitleColor(light ? UIColor::colorWithWhite(0.05, 1) : UIColor::whiteColor(), UIControlStateNormal);
    button->setTitleColor(UIColor::whiteColor(), UIControlStateHighlighted);
    button->setTitleShadowColor(light ? UIColor::colorWithWhite(1, 0.8) : UIColor::colorWithWhite(0, 0.5),
        UIControlStateNormal);
    button->titleLabel()->setShadowOffset({0, light ? CGFloat(1) : CGFloat(-1)});
    button->setTag(index);
    button->addTarget(self(), "buttonPressed:", UIControlEventTouchUpInside);
    _panel->addSubview(button);
    if (size_t(index) >= _buttons.size())
        _buttons.resize(size_t(index) + 1);
    _buttons[size_t(index)] = button;
    return button;
}

UIButtonRef UIModalOverlay::buttonAtIndex(int index) const
{
    return index >= 0 && size_t(index) < _buttons.size() ? _buttons[size_t(index)] : nullptr;
}

std::shared_ptr<UIModalOverlay> UIModalOverlay::overlayForAlert(const UIAlertViewRef& alert, CGRect screen)
{
    auto overlay = runtime::make<UIModalOverlay>();
    overlay->setFrame(CGRectMake(0, 0, screen.size.width, screen.size.height));
    overlay->_modal = alert;
    CGFloat inner = kAlertWidth - 2 * kAlertPadding;
    auto panel = runtime::make<ModalPanel>(CGRectMake(0, 0, kAlertWidth, 0), AlertPanel);
    overlay->_panel = panel;
    overlay->addSubview(panel);

    CGFloat y = kAlertTop;
    RGBA white {1, 1, 1, 1}, shade {0, 0, 0, 0.75f};
    if (!alert->title().empty()) {
        auto title = modalLabel(alert->title(), UIFont::boldSystemFontOfSize(18), inner, white, shade);
        title->setFrame(CGRectMake(kAlertPadding, y, inner, title->frame().size.height));
        panel->addSubview(title);
        y += title->frame().size.height + kGap;
    }
    if (alert->message() && !alert->message()->empty()) {
        auto message = modalLabel(*alert->message(), UIFont::systemFontOfSize(16), inner, white, shade);
        message->setFrame(CGRectMake(kAlertPadding, y, inner, message->frame().size.height));
        panel->addSubview(message);
        y += message->frame().size.height + kGap;
    }
    y += kGap;
    int count = alert->numberOfButtons();
    int cancel = alert->cancelButtonIndex();
    if (count == 2) {
        // Side by side, the cancel button (when there is one) on the left.
        int left = cancel >= 0 ? cancel : 0;
        int right = left == 0 ? 1 : 0;
        CGFloat half = (inner - kGap) / 2;
        overlay->addButton(alert->buttonTitleAtIndex(left), left, left == cancel ? AlertCancel : AlertButton,
            CGRectMake(kAlertPadding, y, half, kButtonHeight));
        overlay->addButton(alert->buttonTitleAtIndex(right), right, AlertButton,
            CGRectMake(kAlertPadding + half + kGap, y, half, kButtonHeight));
        y += kButtonHeight + kGap;
    } else {
        std::vector<int> order;
        for (int index = 0; index < count; ++index)
            if (index != cancel)
                order.push_back(index);
        if (cancel >= 0 && cancel < count)
            order.push_back(cancel);
        for (int index : order) {
            overlay->addButton(alert->buttonTitleAtIndex(index), index, index == cancel ? AlertCancel : AlertButton,
                CGRectMake(kAlertPadding, y, inner, kButtonHeight));
            y += kButtonHeight + kGap;
        }
    }
    CGFloat height = y + kGap;
    panel->setFrame(CGRectMake(std::round((screen.size.width - kAlertWidth) / 2),
        std::round(std::max<CGFloat>(0, (screen.size.height - height) / 2)), kAlertWidth, height));
    return overlay;
}

std::shared_ptr<UIModalOverlay> UIModalOverlay::overlayForActionSheet(const UIActionSheetRef& sheet, CGRect screen)
{
    auto overlay = runtime::make<UIModalOverlay>();
    overlay->setFrame(CGRectMake(0, 0, screen.size.width, screen.size.height));
    overlay->_modal = sheet;
    overlay->_sheet = true;
    CGFloat width = screen.size.width;
    CGFloat inset = std::round((width - kSheetButtonWidth) / 2);
    auto panel = runtime::make<ModalPanel>(CGRectMake(0, 0, width, 0), SheetPanel);
    overlay->_panel = panel;
    overlay->addSubview(panel);

    CGFloat y = 14;
    if (sheet->title() && !sheet->title()->empty()) {
        auto title = modalLabel(*sheet->title(), UIFont::systemFontOfSize(13), kSheetButtonWidth, {1, 1, 1, 1},
            {0, 0, 0, 0.6f});
        title->setFrame(CGRectMake(inset, y, kSheetButtonWidth, title->frame().size.height));
        panel->addSubview(title);
        y += title->frame().size.height + 14;
    }
    int cancel = sheet->cancelButtonIndex();
    for (int index = 0; index < sheet->numberOfButtons(); ++index) {
        int look = index == cancel ? SheetCancel : index == sheet->destructiveButtonIndex() ? SheetDestructive
                                                                                            : SheetButton;
        if (index == cancel && index > 0)
            y += kGap; // the cancel button stands apart
        overlay->addButton(sheet->buttonTitleAtIndex(index), index, look,
            CGRectMake(inset, y, kSheetButtonWidth, kSheetButtonHeight));
        y += kSheetButtonHeight + kGap;
    }
    CGFloat height = y + 12;
    // It slides up from below the screen's bottom edge while the screen behind dims.
    panel->setFrame(CGRectMake(0, screen.size.height, width, height));
    overlay->setAlpha(0);
    UIView::animateWithDuration(kSlideDuration, [&] {
        panel->setFrame(CGRectMake(0, screen.size.height - height, width, height));
        overlay->setAlpha(1);
    });
    return overlay;
}

void UIModalOverlay::drawRect(CGRect)
{
    CGContextRef context = UIGraphicsGetCurrentContext();
    if (!context)
        return;
    cairo_t* cr = context->painter().cairo();
    auto saved = context->painter().save();
    CGRect box = bounds();
    if (_sheet) {
        cairo_set_source_rgba(cr, 0, 0, 0, 0.4);
        cairo_paint(cr);
        return;
    }
    paintAlertDim(cr, box.size);
}

void UIModalOverlay::buttonPressed(std::shared_ptr<UIButton> sender)
{
    if (!sender)
        return;
    id keep = self();
    if (auto modal = _modal.lock())
        modal->dismissWithClickedButtonIndex(sender->tag());
}

std::shared_ptr<UIModalOverlay> UIModalOverlay::showOverWindow(const UIModalViewRef& modal, const UIWindowRef& window)
{
    if (!window)
        return nullptr;
    std::shared_ptr<UIModalOverlay> overlay;
    if (auto alert = std::dynamic_pointer_cast<UIAlertView>(modal))
        overlay = overlayForAlert(alert, window->bounds());
    else if (auto sheet = std::dynamic_pointer_cast<UIActionSheet>(modal))
        overlay = overlayForActionSheet(sheet, window->bounds());
    if (overlay)
        window->addSubview(overlay);
    return overlay;
}

UIViewRef UIModalOverlayPresenter::presentModal(const UIModalViewRef& modal, const UIViewRef&)
{
    return UIModalOverlay::showOverWindow(modal, _window.lock());
}
