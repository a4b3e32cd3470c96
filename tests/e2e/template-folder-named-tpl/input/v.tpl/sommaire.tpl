<html><body>
<!-- <template /> -->
</body></html>
