#error "The logic library must not include Qt Widgets: put window code in the windows library."
