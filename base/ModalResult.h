#pragma once

// Results of a modal showing, as buttons and work handlers set them.
enum TModalResult : int { mrNone = 0, mrOk = 1, mrCancel = 2 };
