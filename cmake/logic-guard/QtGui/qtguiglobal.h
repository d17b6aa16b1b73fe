#error "The logic library must not include Qt Gui: put window code in the windows library."
