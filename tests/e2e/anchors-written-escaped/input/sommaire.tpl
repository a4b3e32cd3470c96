<html><head><meta charset="utf-8"></head><body>
<!-- <template /> -->
</body></html>
