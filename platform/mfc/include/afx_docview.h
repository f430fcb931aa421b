// Document/view and frame windows of the framework (the frame part).
