#pragma once

// Forward declarations and the shared reference types of the UI library.

#include <memory>
#include <vector>

class UIView;
class UIWindow;
class UIControl;
class UIButton;
class UILabel;
class UIImage;
class UIImageView;
class UIFont;
class UIColor;
class UITouch;
class UIEvent;
class UITouchesEvent;
class UIAlertView;
class UIApplication;

using UIViewRef = std::shared_ptr<UIView>;
using UIWindowRef = std::shared_ptr<UIWindow>;
using UIButtonRef = std::shared_ptr<UIButton>;
using UILabelRef = std::shared_ptr<UILabel>;
using UIImageRef = std::shared_ptr<UIImage>;
using UIImageViewRef = std::shared_ptr<UIImageView>;
using UIFontRef = std::shared_ptr<UIFont>;
using UITouchRef = std::shared_ptr<UITouch>;
using UIEventRef = std::shared_ptr<UIEvent>;
using UIAlertViewRef = std::shared_ptr<UIAlertView>;

// An ordered set of touches: each touch once, in the order it was added.
using UITouchSet = std::vector<UITouchRef>;

enum UIViewAutoresizing : unsigned {
    UIViewAutoresizingNone = 0,
    UIViewAutoresizingFlexibleLeftMargin = 1u << 0,
    UIViewAutoresizingFlexibleWidth = 1u << 1,
    UIViewAutoresizingFlexibleRightMargin = 1u << 2,
    UIViewAutoresizingFlexibleTopMargin = 1u << 3,
    UIViewAutoresizingFlexibleHeight = 1u << 4,
    UIViewAutoresizingFlexibleBottomMargin = 1u << 5,
};

enum UITextAlignment : int {
    UITextAlignmentLeft = 0,
    UITextAlignmentCenter = 1,
    UITextAlignmentRight = 2,
};
