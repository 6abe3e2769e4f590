// filled in by the screens work
