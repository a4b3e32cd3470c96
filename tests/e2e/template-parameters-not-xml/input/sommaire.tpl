<html>
<body>
  <!-- <template target="principal"> -->
</body>
</html>
