<html><head><meta charset="utf-8"></head><body>
<!-- <template target="main" /> -->
</body></html>
